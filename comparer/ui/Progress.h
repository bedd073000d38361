#pragma once

// Progress of a database reading on the main window's progress bar. The reading runs on the
// window's thread, so the bar is repainted as it advances, and now and then the window's
// pending events other than user input are handled, so that the desktop does not take the
// window for hung.

#include "foundation/settings/Progress.h"

#include <QElapsedTimer>

class QProgressBar;

class Progress : public settings::IProgress {
public:
    // The bar is not owned.
    explicit Progress(QProgressBar& bar);

    void reset() override;
    void start(int total) override;
    void step() override;
    void finish() override;

private:
    // Shows the bar's new position, at most every few milliseconds.
    void show(bool now);

    QProgressBar& bar_;
    QElapsedTimer sincePaint_;
    QElapsedTimer sinceEvents_;
};

#include "comparer/ui/Progress.h"

#include <QCoreApplication>
#include <QProgressBar>

namespace {

// Fast enough to look smooth, rare enough to cost nothing against the reading.
constexpr qint64 kPaintInterval = 20;
// Desktops wait a few seconds for an answer before they call a window hung.
constexpr qint64 kEventsInterval = 100;

} // namespace

Progress::Progress(QProgressBar& bar) : bar_(bar) {
    bar_.setRange(0, 100);
    sincePaint_.start();
    sinceEvents_.start();
}

void Progress::reset() {
    bar_.setValue(bar_.minimum());
    show(true);
}

void Progress::start(int total) {
    bar_.setRange(0, qMax(0, total));
    bar_.setValue(0);
    show(true);
}

void Progress::step() {
    if (bar_.value() < bar_.maximum())
        bar_.setValue(bar_.value() + 1);
    show(false);
}

void Progress::finish() {
    bar_.setValue(bar_.maximum());
    show(true);
}

void Progress::show(bool now) {
    if (now || sincePaint_.elapsed() >= kPaintInterval) {
        bar_.repaint();
        sincePaint_.restart();
    }
    if (sinceEvents_.elapsed() >= kEventsInterval) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceEvents_.restart();
    }
}

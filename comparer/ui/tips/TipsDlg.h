#pragma once

// The tips window: one tip at a time with Next and Previous, and the choice whether the
// tips appear at start. Closing it in any way moves on to the next tip, so that the next
// display starts there, and reports the state through onTipsClosed.

#include "comparer/ITipView.h"
#include "comparer/tips/Tips.h"
#include "comparer/tips/TipsDocument.h"

#include <QDialog>
#include <QPointer>

#include <memory>
#include <string_view>

class QCheckBox;
class QPushButton;

namespace FormattedTextViewControl {
class FormattedTextView;
}

class TipsDlg : public QDialog, public ITipView {
    Q_OBJECT

public:
    // Loads its own copy of the tips from the document. The owner is used when no window
    // is active at show(); it is not a Qt parent, so either may be destroyed first.
    explicit TipsDlg(QWidget* owner = nullptr, std::string_view document = tipsDocument());
    ~TipsDlg() override;

    // Runs the window modally over the active window until the user closes it.
    void show(bool showOnStartup, int currentTip) override;
    using QDialog::show;

    const Tips& tips() const { return tips_; }
    FormattedTextViewControl::FormattedTextView& textView() const { return *view_; }
    QPushButton& nextButton() const { return *next_; }
    QPushButton& previousButton() const { return *previous_; }
    QPushButton& closeButton() const { return *close_; }
    QCheckBox& showOnStartupBox() const { return *showOnStartup_; }

    // Close, Escape and the close box all end here.
    void reject() override;

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void createControls();

    QPointer<QWidget> owner_;
    Tips tips_;
    FormattedTextViewControl::FormattedTextView* view_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* close_ = nullptr;
    QCheckBox* showOnStartup_ = nullptr;
};

// The window-mode tip view for the main window.
std::unique_ptr<ITipView> createTipsWindow(QWidget* owner);

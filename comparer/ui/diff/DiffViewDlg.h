#pragma once

// The window that shows the merged diff of two texts: one text view filling it and "OK".
// The caller appends the whole diff to the view, then runs the window.

#include "comparer/ui/diff/TextView.h"
#include "report/diff/Segment.h"

#include <QDialog>

#include <string>

class CDialogResizeRion;
class QPushButton;

class DiffViewDlg : public QDialog {
public:
    explicit DiffViewDlg(QWidget* owner = nullptr);

    // The caption; "Diff" until a title that is not empty is set.
    void setTitle(const std::u16string& title);
    TextViewControl::TextView& textView() { return view_; }
    QPushButton& okButton() { return *ok_; }

protected:
    // The wheel scrolls the text wherever the pointer is in the window, over the button too.
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TextViewControl::TextView view_;
    QPushButton* ok_;
    CDialogResizeRion* resize_;
};

// Shows the segments in a diff window with the title, modal over `owner` (or the active
// window when none is given), until the user closes it.
void showDiffWindow(QWidget* owner, const std::u16string& title, const diff::Segments& segments);

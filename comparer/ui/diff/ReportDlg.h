#pragma once

// The window that shows a comparison's synchronisation script ("SQL Diff") and its text
// report ("Text Diff") on two tabs, with a button that copies the shown text to the
// clipboard and closes the window.

#include <QDialog>

#include <string>

class CDialogResizeRion;
class CEditRion;
class QPushButton;
class QTabWidget;

class ReportDlg : public QDialog {
public:
    // Both texts must outlive the window; they are not copied.
    ReportDlg(const std::u16string& report, const std::u16string& script, QWidget* owner = nullptr);

    QTabWidget& tabs() { return *tabs_; }
    QPushButton& copyButton() { return *copy_; }
    QPushButton& okButton() { return *ok_; }

private:
    // The whole text of the shown tab, exactly as given, goes to the clipboard.
    void copyToClipboard();

    const std::u16string& report_;
    const std::u16string& script_;
    QTabWidget* tabs_;
    CEditRion* scriptEdit_;
    CEditRion* reportEdit_;
    QPushButton* copy_;
    QPushButton* ok_;
    CDialogResizeRion* resize_;
};

// Shows the report window modally over `owner` (or the active window when none is given)
// until the user closes it.
void showReportWindow(QWidget* owner, const std::u16string& report, const std::u16string& script);

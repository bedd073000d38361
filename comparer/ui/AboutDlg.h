#pragma once

// "About Kelvor": the icon, the program's name and version, and a link to its manual or,
// without one, to its project page.

#include <QDialog>

class AboutDlg : public QDialog {
public:
    explicit AboutDlg(QWidget* parent = nullptr);
};

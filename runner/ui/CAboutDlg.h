#pragma once

// "About": the program's icon, name and version, and a link to its web page.

#include <QDialog>

namespace runner::ui {

inline constexpr char kProgramVersion[] = "1.0";
inline constexpr char kProductPage[] = "https://kelvor.example.org/kelrun";

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace runner::ui

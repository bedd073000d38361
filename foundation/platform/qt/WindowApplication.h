#pragma once

// Starting Qt for a program that may or may not have a desktop to show its windows on.
// Qt aborts inside its platform plugin when it cannot reach a display, so the programs
// ask first and explain themselves instead.

#include <QApplication>

#include <memory>

namespace platform::qt {

// True when a window could be shown: QT_QPA_PLATFORM names a platform, or a Wayland or
// X11 display answers on its socket.
bool displayAvailable();

// The application of a window program, with the program's name set, or none when no
// display is available. argc and argv must outlive the application.
std::unique_ptr<QApplication> startWindowApplication(int& argc, char** argv,
                                                     const char* programName);

// From now on platform::showMessage shows a Qt message box whenever a display is
// available (starting Qt on the first message if needed), else it keeps writing
// "caption: text" to standard error.
void useQtMessageBoxes(int& argc, char** argv);

} // namespace platform::qt

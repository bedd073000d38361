#pragma once

// The one QApplication of a window test program, made on first use, on Qt's offscreen
// platform unless the environment names another. Never destroyed: at exit Qt's own globals
// may already be gone.

#include <QApplication>

inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "kel_window_tests";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

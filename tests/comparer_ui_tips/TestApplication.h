#pragma once

// The one QApplication of this test program, started by the first test that needs it.

#include <QApplication>

inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "comparer_ui_tips_tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

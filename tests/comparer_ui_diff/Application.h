#pragma once

// The one application of the window tests.

#include <QApplication>
#include <QWidget>

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "comparer_ui_diff_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own globals may already be gone.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Runs `check` on the modal window that the next call opens, then lets the call return.
template <class Check> void whenModalOpens(Check check) {
    QMetaObject::invokeMethod(
        &application(),
        [check] {
            QWidget* window = QApplication::activeModalWidget();
            check(window);
            if (window)
                window->close();
        },
        Qt::QueuedConnection);
}

#pragma once

// The one application of the window tests.

#include "tests/foundation/platform_qt/TestApplication.h"

#include <QApplication>
#include <QWidget>

// Runs `check` on the modal window that the next call opens, then lets the call return.
template <class Check> void whenModalOpens(Check check) {
    QMetaObject::invokeMethod(
        &testApplication(),
        [check] {
            QWidget* window = QApplication::activeModalWidget();
            check(window);
            if (window)
                window->close();
        },
        Qt::QueuedConnection);
}

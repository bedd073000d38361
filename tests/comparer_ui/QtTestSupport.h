#pragma once

// What the window tests share: one QApplication for the whole test program, and a catcher
// that answers the message boxes a test causes and remembers them.

#include "tests/foundation/platform_qt/TestApplication.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

// Makes the application before the first test, as widgets need it.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { testApplication(); }
};

// A message box that was shown, as the user saw it.
struct ShownMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QWidget* owner;
};

// While it lives, closes every message box as soon as it is shown.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            shown.push_back({box->windowTitle(), box->text(), box->icon(), box->parentWidget()});
            box->done(QMessageBox::Ok);
        });
        timer_.start();
    }

    std::vector<ShownMessage> shown;

private:
    QTimer timer_;
};

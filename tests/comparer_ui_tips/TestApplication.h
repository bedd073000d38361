#pragma once

// The one QApplication of this test program: made by the first test that needs it and
// deleted when the tests end, before the program's static objects go, as Qt needs.

#include <QApplication>

#include <gtest/gtest.h>

class TestApplication : public testing::Environment {
public:
    static QApplication& ensure() {
        if (!application_)
            application_ = new QApplication(argc_, argv_);
        return *application_;
    }
    void TearDown() override {
        delete application_;
        application_ = nullptr;
    }

private:
    static inline int argc_ = 1;
    static inline char name_[] = "comparer_ui_tips_tests";
    static inline char* argv_[] = {name_, nullptr};
    static inline QApplication* application_ = nullptr;
};

inline testing::Environment* const testApplicationEnvironment =
    testing::AddGlobalTestEnvironment(new TestApplication);

inline QApplication& testApplication() {
    return TestApplication::ensure();
}

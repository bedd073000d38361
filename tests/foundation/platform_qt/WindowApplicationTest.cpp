#include "foundation/platform/qt/WindowApplication.h"
#include "foundation/platform/qt/CEditRion.h"
#include "foundation/platform/qt/QtText.h"
#include "tests/foundation/platform_qt/TestApplication.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

// Restores one environment variable when the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old, hadOld_ = true;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (hadOld_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool hadOld_ = false;
};

TEST(WindowApplication, NoDisplayIsToldBeforeQtWouldAbort) {
    ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    {
        ScopedEnv x11("DISPLAY", nullptr);
        EXPECT_FALSE(platform::qt::displayAvailable());
    }
    {
        // A display number nobody serves, and names that are not displays at all.
        for (const char* display : {":987654", "nonsense", ":", ":x.0"}) {
            ScopedEnv x11("DISPLAY", display);
            EXPECT_FALSE(platform::qt::displayAvailable()) << display;
        }
    }
}

TEST(WindowApplication, AChosenPlatformCountsAsADisplay) {
    ScopedEnv platform("QT_QPA_PLATFORM", "offscreen");
    ScopedEnv x11("DISPLAY", nullptr);
    EXPECT_TRUE(platform::qt::displayAvailable());
}

TEST(QtText, UnitsCrossUnchanged) {
    std::u16string text = u"a\u00e9\U0001F600";
    text += char16_t(0xD800); // a lone surrogate
    text += char16_t(0);
    text += u"z";
    QString q = platform::qt::toQString(text);
    EXPECT_EQ(q.size(), qsizetype(text.size()));
    EXPECT_EQ(platform::qt::fromQString(q), text);
}

TEST(CEditRion, SelectAllWorksWhenReadOnly) {
    testApplication();
    CEditRion edit;
    edit.setReadOnly(true);
    edit.setPlainText("first line\nsecond line");
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit.textCursor().selectedText(),
              QString("first line") + QChar(0x2029) + "second line");
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::NoWrap);
}

} // namespace

// The report window: its tabs, the copy to the clipboard and the size rules.

#include "comparer/ui/diff/ReportDlg.h"
#include "foundation/platform/qt/QtText.h"
#include "tests/comparer_ui_diff/Application.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ReportDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        script += u'\0';
        script += u" -- after a NUL\r\n";
    }
    std::u16string report = u"Table [Customers]\r\n  field [Name] differs\r\n";
    std::u16string script = u"ALTER TABLE [Customers] ALTER COLUMN [Name] TEXT(80);\r\n";
};

QPlainTextEdit& edit(ReportDlg& window, int tab) {
    return *dynamic_cast<QPlainTextEdit*>(window.tabs().widget(tab));
}

} // namespace

TEST_F(ReportDlgTest, TheScriptComesFirstAndBothAreReadOnly) {
    ReportDlg window(report, script);
    EXPECT_EQ(window.windowTitle(), "Report");
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_EQ(window.tabs().count(), 2);
    EXPECT_EQ(window.tabs().tabText(0), "SQL Diff");
    EXPECT_EQ(window.tabs().tabText(1), "Text Diff");
    EXPECT_EQ(window.tabs().currentIndex(), 0);
    EXPECT_TRUE(edit(window, 0).toPlainText().startsWith("ALTER TABLE"));
    EXPECT_TRUE(edit(window, 1).toPlainText().startsWith("Table [Customers]"));
    EXPECT_TRUE(edit(window, 0).isReadOnly());
    EXPECT_TRUE(edit(window, 1).isReadOnly());
    EXPECT_EQ(edit(window, 0).lineWrapMode(), QPlainTextEdit::NoWrap);
    // One line of the edit per line of the text: a carriage return before a line feed is no
    // line break of its own.
    EXPECT_EQ(edit(window, 1).blockCount(), 3);
}

TEST_F(ReportDlgTest, CopyPutsExactlyTheShownTextOnTheClipboardAndCloses) {
    for (int tab : {0, 1}) {
        QApplication::clipboard()->clear();
        ReportDlg window(report, script);
        window.show();
        window.tabs().setCurrentIndex(tab);
        window.copyButton().click();
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(platform::qt::fromQString(QApplication::clipboard()->text()),
                  tab == 0 ? script : report);
    }
}

TEST_F(ReportDlgTest, ButtonsStaySideBySideUnderTheMiddle) {
    ReportDlg window(report, script);
    window.show();
    const QSize opened = window.size();
    const QRect copy = window.copyButton().geometry();
    const QRect ok = window.okButton().geometry();
    const QRect tabs = window.tabs().geometry();
    EXPECT_LT(copy.right(), ok.left());
    EXPECT_EQ(copy.top(), ok.top());

    window.resize(opened.width() * 2, opened.height() + 40);
    const int shift = opened.width() / 2;
    EXPECT_EQ(window.copyButton().geometry(), copy.translated(shift, 40));
    EXPECT_EQ(window.okButton().geometry(), ok.translated(shift, 40));
    EXPECT_EQ(window.tabs().geometry(), tabs.adjusted(0, 0, opened.width(), 40));

    window.resize(opened / 2);
    EXPECT_EQ(window.size(), opened);
}

TEST_F(ReportDlgTest, OkAndEscapeClose) {
    ReportDlg window(report, script);
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    window.show();
    window.okButton().click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ReportDlgTest, BadTextShows) {
    std::u16string bad = u"lone \xD800 and \xDC00, ";
    bad += u'\0';
    bad += std::u16string(1000000, u'x') + u"\r\n" + std::u16string(100000, u'\n');
    ReportDlg window(bad, bad);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.tabs().setCurrentIndex(1);
    EXPECT_FALSE(window.grab().isNull());
    window.copyButton().click();
    EXPECT_EQ(platform::qt::fromQString(QApplication::clipboard()->text()), bad);
}

// The diff window: its caption, size rules, closing and the wheel.

#include "comparer/ui/diff/DiffViewDlg.h"
#include "tests/comparer_ui_diff/Application.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

class DiffViewDlgTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
};

} // namespace

TEST_F(DiffViewDlgTest, TheCaptionIsTheTitleOnceOneIsGiven) {
    DiffViewDlg window;
    EXPECT_EQ(window.windowTitle(), "Diff");
    window.setTitle(u"Customers");
    EXPECT_EQ(window.windowTitle(), "Customers");
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(DiffViewDlgTest, TheViewGrowsAndOkStaysInTheCornerButNeverSmallerThanItOpened) {
    DiffViewDlg window;
    window.show();
    const QSize opened = window.size();
    const QRect ok = window.okButton().geometry();
    const QRect view = window.textView().geometry();
    EXPECT_EQ(window.minimumSize(), opened);

    window.resize(opened + QSize(200, 100));
    EXPECT_EQ(window.okButton().geometry(), ok.translated(200, 100));
    EXPECT_EQ(window.textView().geometry(), view.adjusted(0, 0, 200, 100));
    window.resize(opened - QSize(100, 100));
    EXPECT_EQ(window.size(), opened);
}

TEST_F(DiffViewDlgTest, OkAndEscapeClose) {
    DiffViewDlg window;
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    window.show();
    window.okButton().click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(DiffViewDlgTest, TheWheelScrollsTheTextWhereverItTurns) {
    DiffViewDlg window;
    for (int i = 0; i < 200; ++i)
        window.textView().append(u"a line\n", 0);
    window.show();
    window.okButton().setFocus();
    const QPointF at(window.okButton().rect().center());
    QWheelEvent wheel(at, window.okButton().mapToGlobal(at), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&window.okButton(), &wheel);
    EXPECT_EQ(window.textView().verticalScrollBar()->value(),
              18 * QApplication::wheelScrollLines());
    QApplication::sendEvent(&window, &wheel);
    EXPECT_EQ(window.textView().verticalScrollBar()->value(),
              2 * 18 * QApplication::wheelScrollLines());
}

TEST_F(DiffViewDlgTest, AClickGivesTheViewTheFocus) {
    DiffViewDlg window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.okButton().setFocus();
    QTest::mouseClick(window.textView().viewport(), Qt::LeftButton);
    EXPECT_TRUE(window.textView().hasFocus());
}

TEST_F(DiffViewDlgTest, TheWindowShowsEachSegmentInItsStyle) {
    const diff::Segments segments{{diff::Operation::Equal, u"[Name] TEXT("},
                                  {diff::Operation::Delete, u"5"},
                                  {diff::Operation::Insert, u"8"},
                                  {diff::Operation::Equal, u"0)"}};
    std::vector<std::pair<std::u16string, int>> spans;
    whenModalOpens([&](QWidget* window) {
        auto* dialog = dynamic_cast<DiffViewDlg*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Name");
        const auto& content = dialog->textView().content();
        ASSERT_EQ(content.lineCount(), 1u);
        for (auto* span = content.lineBegin(0); span != content.lineEnd(0); ++span)
            spans.emplace_back(content.spanText(*span), span->style);
    });
    showDiffWindow(nullptr, u"Name", segments);
    EXPECT_EQ(spans, (std::vector<std::pair<std::u16string, int>>{
                         {u"[Name] TEXT(", 0}, {u"5", 1}, {u"8", 2}, {u"0)", 0}}));
}

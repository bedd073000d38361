// The diff view's measuring, painting and scrolling, on the offscreen platform.

#include "comparer/ui/diff/TextView.h"
#include "tests/comparer_ui_diff/Application.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

using TextViewControl::TextView;

namespace {

std::u16string numberedLines(int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        text += u"line " + std::u16string(number.begin(), number.end()) + u"\r\n";
    }
    return text;
}

// The lines whose top lies strictly between top - 18 and top + height + 18.
int linesInView(int lineCount, int top, int height) {
    int count = 0;
    for (int i = 0; i < lineCount; ++i) {
        int lineTop = 8 + 18 * i;
        count += lineTop > top - 18 && lineTop < top + height + 18;
    }
    return count;
}

class TextViewTest : public ::testing::Test {
protected:
    void SetUp() override { view.resize(400, 300); }
    QApplication& app = testApplication();
    TextView view;
};

} // namespace

TEST_F(TextViewTest, OneDisplayLinePerTextLineWhatEverEndsIt) {
    view.append(u"abc\r\ndef\r\n", 0);
    // Three lines: the final line feed leaves an empty one.
    EXPECT_EQ(view.content().lineCount(), 3u);
    EXPECT_EQ(view.contentSize().height(), 3 * 18 + 16);

    // A carriage return draws as nothing.
    TextView plain;
    plain.append(u"abc\ndef\n", 0);
    EXPECT_EQ(plain.contentSize(), view.contentSize());
    EXPECT_GT(plain.contentSize().width(), 16);
}

TEST_F(TextViewTest, TheWidestLineSetsTheWidthWhicheverStyleItHas) {
    view.append(u"short\n", 0);
    view.append(u"a much longer line than the first\n", 1);
    TextView longest;
    longest.append(u"a much longer line than the first", 1);
    EXPECT_EQ(view.contentSize().width(), longest.contentSize().width());
    // Appending after measuring measures again.
    view.append(u"a much longer line than the first, and longer still", 2);
    EXPECT_GT(view.contentSize().width(), longest.contentSize().width());
}

TEST_F(TextViewTest, OnlyTheLinesInViewArePainted) {
    const int lines = 50000;
    view.append(numberedLines(lines - 1), 0);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const int height = view.viewport()->height();
    for (int top : {0, 450000 - 7, view.verticalScrollBar()->maximum()}) {
        view.verticalScrollBar()->setValue(top);
        view.viewport()->repaint();
        EXPECT_EQ(view.paintedLines(), linesInView(lines, top, height)) << top;
        EXPECT_LT(view.paintedLines(), height / 18 + 4);
    }
}

TEST_F(TextViewTest, ScrollStepsAreALineAHundredthAndATenth) {
    view.append(numberedLines(1000), 0);
    view.append(std::u16string(500, u'w'), 2);
    view.show();
    const QSize content = view.contentSize();
    QScrollBar* v = view.verticalScrollBar();
    QScrollBar* h = view.horizontalScrollBar();
    EXPECT_EQ(v->maximum(), content.height() - view.viewport()->height());
    EXPECT_EQ(v->singleStep(), 18);
    EXPECT_EQ(h->singleStep(), content.width() / 100);
    v->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(v->value(), content.height() / 10);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(v->value(), content.height() / 10 + 18);
    h->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(h->value(), std::min(h->maximum(), content.width() / 10));
}

TEST_F(TextViewTest, BadTextShowsWithoutHarm) {
    std::u16string bad = u"lone \xD800 high, lone \xDC00 low, pair \xD83D\xDE00, nul [";
    bad += u'\0';
    bad += u"] tab [\t] bell [\a]\r\rend\n";
    view.append(bad, 0);
    view.append(std::u16string(1000000, u'x'), 1);
    view.append(u"\n", 0);
    view.append(std::u16string(1000000, u'\n'), 2);
    const QSize content = view.contentSize();
    EXPECT_GT(content.width(), 1000000);
    EXPECT_EQ(content.height(), 1000003 * 18 + 16);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (int right : {0, 1, 2}) {
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() * right / 2);
        view.viewport()->repaint();
        EXPECT_EQ(view.paintedLines(), linesInView(1000003, 0, view.viewport()->height()));
    }
    EXPECT_FALSE(view.grab().isNull());
}

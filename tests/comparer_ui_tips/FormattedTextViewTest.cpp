#include "comparer/ui/tips/FormattedTextView.h"
#include "comparer/tips/Tips.h"
#include "comparer/tips/TipsDocument.h"
#include "foundation/platform/qt/QtText.h"
#include "tests/foundation/platform_qt/TestApplication.h"

#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <string_view>

using namespace FormattedTextViewControl;

namespace {

Tips load(std::string_view xml) {
    return Tips::load(xml.data(), xml.size());
}

Tips shippedTips() {
    std::string_view bytes = tipsDocument();
    return Tips::load(bytes.data(), bytes.size());
}

// A view of the text area's size in the tips window, shown so that it has a real viewport.
class ViewTest : public ::testing::Test {
protected:
    ViewTest() {
        view.resize(455, 203);
        view.show();
        QApplication::processEvents();
    }

    std::vector<const Segment*> segments(const Tip& tip) {
        std::vector<const Segment*> out;
        for (const auto& container : tip.containers())
            for (const Segment& segment : container->segments)
                out.push_back(&segment);
        return out;
    }

    int clientWidth() { return view.viewport()->width(); }

    QApplication& application = testApplication(); // before any widget
    FormattedTextView view;
};

} // namespace

TEST_F(ViewTest, MeasuresWithTheStyleFontsAndLaysOutInsideTheMargins) {
    Tips tips = load("<tips><tip><p>Press <b>Next</b> now</p></tip></tips>");
    view.setTip(tips.current());
    view.ensureLayout();
    auto words = segments(*tips.current());
    ASSERT_EQ(words.size(), 3u);

    QFont normal(QApplication::font().family());
    normal.setPixelSize(16);
    QFont bold = normal;
    bold.setWeight(QFont::DemiBold);
    QFontMetrics n(normal), b(bold);
    EXPECT_EQ(words[0]->width, n.horizontalAdvance("Press"));
    EXPECT_EQ(words[1]->width, b.horizontalAdvance("Next"));
    // Fits on one line: left-aligned, each word followed by its own style's "x".
    EXPECT_EQ(words[1]->x, words[0]->width + n.horizontalAdvance('x'));
    EXPECT_EQ(words[2]->x, words[1]->x + words[1]->width + b.horizontalAdvance('x'));
    EXPECT_EQ(words[2]->y, 0);

    EXPECT_EQ(view.textRect(), QRect(10, 10, clientWidth() - 20, view.viewport()->height() - 20));
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
}

TEST_F(ViewTest, TheSixthTipJustifiesAllButItsLastLine) {
    Tips tips = shippedTips();
    tips.select(5);
    view.setTip(tips.current());
    view.ensureLayout();
    const int width = clientWidth() - 20;
    auto words = segments(*tips.current());
    // The line break and tabs only separate words: no segment holds them.
    for (const Segment* word : words)
        EXPECT_EQ(tips.current()->textOf(*word).find_first_of(u"\t\r\n "),
                  std::u16string_view::npos);
    int lines = 0;
    for (std::size_t k = 0; k < words.size(); ++k) {
        bool endsLine = k + 1 == words.size() || words[k + 1]->y != words[k]->y;
        if (!endsLine)
            continue;
        ++lines;
        if (k + 1 < words.size())
            EXPECT_EQ(words[k]->x + words[k]->width, width) << "word " << k;
        else
            EXPECT_LT(words[k]->x + words[k]->width, width);
    }
    EXPECT_GE(lines, 2);
    EXPECT_EQ(words.back()->y, 20 * (lines - 1));
}

TEST_F(ViewTest, AWordWiderThanTheAreaWidensItAndBringsAScrollBar) {
    Tips tips = load("<tips><tip><p>short</p>"
                     "<p>Averyveryveryveryveryveryveryveryveryveryveryveryverylongword</p>"
                     "<p>and more</p></tip></tips>");
    view.setTip(tips.current());
    view.ensureLayout();
    int wide = segments(*tips.current())[1]->width;
    ASSERT_GT(wide, clientWidth() - 20);
    EXPECT_EQ(view.minimumTextWidth(), wide);
    EXPECT_EQ(view.textRect().width(), wide);
    QApplication::processEvents();
    QScrollBar* bar = view.horizontalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), wide + 20 - clientWidth());

    // A tip that fits takes the scroll bar away again.
    Tips small = load("<tips><tip><p>short</p></tip></tips>");
    view.setTip(small.current());
    EXPECT_EQ(view.minimumTextWidth(), 0); // measured lazily, at the next paint
    view.ensureLayout();
    QApplication::processEvents();
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(ViewTest, ALongLineIsNeverWrapped) {
    Tips tips = load("<tips><tip><l>This line is far too long to fit into the area of the "
                     "tips window but it stays on one line anyway</l></tip></tips>");
    view.setTip(tips.current());
    view.ensureLayout();
    auto pieces = segments(*tips.current());
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0]->x, 0);
    EXPECT_GT(pieces[0]->width, clientWidth());
    EXPECT_EQ(view.textRect().width(), pieces[0]->width);
}

TEST_F(ViewTest, AResizeLaysOutAgainWithoutMeasuringAndANewTipMeasuresAgain) {
    Tips tips = shippedTips();
    view.setTip(tips.current());
    view.ensureLayout();
    Segment& first = tips.current()->containers()[0]->segments[0];
    const int measured = first.width;
    first.width += 7; // a measuring pass would undo this

    view.resize(300, 203);
    QApplication::processEvents();
    view.ensureLayout();
    EXPECT_EQ(first.width, measured + 7);
    EXPECT_EQ(view.textRect().width(), clientWidth() - 20);

    view.setTip(tips.current());
    view.ensureLayout();
    EXPECT_EQ(first.width, measured);
}

TEST_F(ViewTest, PaintsTheTextInsideTheTextRectangleOnly) {
    auto darkRows = [&] {
        QImage image = view.viewport()->grab().toImage();
        int top = image.height(), bottom = -1, left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    top = std::min(top, y), bottom = std::max(bottom, y);
                    left = std::min(left, x), right = std::max(right, x);
                }
        return QRect(QPoint(left, top), QPoint(right, bottom));
    };
    EXPECT_FALSE(darkRows().isValid()); // no tip, nothing drawn

    Tips tips = shippedTips();
    view.setTip(tips.current());
    QRect ink = darkRows();
    ASSERT_TRUE(ink.isValid());
    EXPECT_TRUE(view.textRect().contains(ink)) << ink.x() << "," << ink.y();
    EXPECT_LE(ink.left(), 12);
}

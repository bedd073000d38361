#include "comparer/tips/TipLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace FormattedTextViewControl;

namespace {

// Normal words leave a gap of 5, bold ones of 6; a bold line is a little taller.
const std::vector<StyleMetrics> styles = {{5, 20}, {6, 24}};

struct Word {
    int width;
    int style = 0;
};

// Appends a container whose segments have the given widths, as measuring would leave them.
template <class Container> Tip& add(Tip& tip, const std::vector<Word>& words) {
    tip.startContainer(std::make_unique<Container>());
    for (const Word& word : words) {
        tip.appendSegment(u"w", word.style);
        tip.currentContainer()->segments.back().width = word.width;
    }
    return tip;
}

std::vector<int> xs(const Tip& tip, std::size_t container) {
    std::vector<int> out;
    for (const Segment& segment : tip.containers().at(container)->segments)
        out.push_back(segment.x);
    return out;
}

std::vector<int> ys(const Tip& tip, std::size_t container) {
    std::vector<int> out;
    for (const Segment& segment : tip.containers().at(container)->segments)
        out.push_back(segment.y);
    return out;
}

using Ints = std::vector<int>;

} // namespace

TEST(TipLayout, AParagraphThatFitsIsLeftAlignedWithNaturalGaps) {
    Tip tip;
    add<Paragraph>(tip, {{30}, {40, 1}, {20}});
    EXPECT_EQ(layOut(tip, styles, 500), 24);
    EXPECT_EQ(xs(tip, 0), (Ints{0, 35, 81}));
    EXPECT_EQ(ys(tip, 0), (Ints{0, 0, 0}));
}

TEST(TipLayout, EveryLineButTheLastFillsTheWidthExactly) {
    Tip tip;
    // Widths chosen so that the shared-out gaps are not whole pixels.
    add<Paragraph>(tip, {{31}, {17}, {23}, {29}, {11}, {37}, {13}, {41}, {19}, {7}});
    const int width = 100;
    int height = layOut(tip, styles, width);
    const auto& words = tip.containers()[0]->segments;

    std::vector<std::vector<const Segment*>> lines;
    for (const Segment& word : words) {
        if (lines.empty() || lines.back().back()->y != word.y)
            lines.emplace_back();
        lines.back().push_back(&word);
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(height, 20 * int(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& line = lines[i];
        EXPECT_EQ(line.front()->x, 0);
        EXPECT_EQ(line.front()->y, 20 * int(i));
        for (std::size_t k = 1; k < line.size(); ++k)
            EXPECT_GE(line[k]->x, line[k - 1]->x + line[k - 1]->width + 5);
        int right = line.back()->x + line.back()->width;
        if (i + 1 < lines.size()) {
            EXPECT_EQ(right, width) << "line " << i;
            // Greedy: the next line's first word would not have fitted.
            int natural = 0;
            for (const Segment* word : line)
                natural += word->width + 5;
            EXPECT_GT(natural + lines[i + 1].front()->width, width) << "line " << i;
        }
    }
    // The last line keeps natural gaps.
    const auto& last = lines.back();
    for (std::size_t k = 1; k < last.size(); ++k)
        EXPECT_EQ(last[k]->x, last[k - 1]->x + last[k - 1]->width + 5);
}

TEST(TipLayout, JustifiedGapsAreSummedAsRealsAndTruncated) {
    Tip tip;
    // Three words of 10 in a width of 41 leave 11 pixels: two gaps of 5.5.
    add<Paragraph>(tip, {{10}, {10}, {10}, {10}});
    layOut(tip, styles, 41);
    EXPECT_EQ(xs(tip, 0), (Ints{0, 15, 31, 0}));
    EXPECT_EQ(ys(tip, 0), (Ints{0, 0, 0, 20}));
}

TEST(TipLayout, AWordTooWideForTheAreaSetsTheMinimumWidthAndStandsAlone) {
    Tip tip;
    add<Paragraph>(tip, {{20}, {250}, {20}});
    ASSERT_EQ(minimumWidth(tip), 250);
    layOut(tip, styles, 250);
    EXPECT_EQ(xs(tip, 0), (Ints{0, 0, 0}));
    EXPECT_EQ(ys(tip, 0), (Ints{0, 20, 40}));
}

TEST(TipLayout, ALineIsNeverWrappedAndItsPiecesTouch) {
    Tip tip;
    add<Paragraph>(tip, {{30}});
    add<Line>(tip, {{60}, {50, 1}, {70}});
    add<Paragraph>(tip, {{40}});
    add<Line>(tip, {});
    add<Paragraph>(tip, {{40}});
    EXPECT_EQ(minimumWidth(tip), 180);
    EXPECT_EQ(layOut(tip, styles, 100), 20 + 24 + 20 + 0 + 20);
    EXPECT_EQ(xs(tip, 1), (Ints{0, 60, 110}));
    EXPECT_EQ(ys(tip, 1), (Ints{20, 20, 20}));
    EXPECT_EQ(ys(tip, 2), (Ints{44}));
    EXPECT_EQ(ys(tip, 4), (Ints{64}));
}

TEST(TipLayout, TheGapBeforeAWordIsThatWordsOwnWhenWrapping) {
    Tip tip;
    // 40 + 6 + 54 = 100 fills the width exactly with the bold word's gap of 6, so it stays;
    // the third word does not fit any more.
    add<Paragraph>(tip, {{40}, {54, 1}, {10}});
    layOut(tip, styles, 100);
    EXPECT_EQ(ys(tip, 0), (Ints{0, 0, 24}));
    EXPECT_EQ(xs(tip, 0), (Ints{0, 46, 0}));
}

#include "report/diff/LineEncoding.h"

#include <gtest/gtest.h>

using namespace diff;

namespace {

std::u16string numberedLines(int from, int to) {
    std::u16string text;
    for (int n = from; n < to; ++n) {
        for (const char c : std::to_string(n)) {
            text.push_back(static_cast<char16_t>(c));
        }
        text += u"\n";
    }
    return text;
}

TEST(LineEncoding, SharedLinesShareAUnit) {
    const auto encoding = encodeLines(u"a\nb\na\nc", u"b\nc\nc");
    EXPECT_EQ(encoding.chars1, (std::u16string{1, 2, 1, 3}));
    // "c" without a line end differs from "c\n".
    EXPECT_EQ(encoding.chars2, (std::u16string{2, 4, 3}));
    EXPECT_TRUE(encoding.lines[0].empty());

    Segments segments{{Operation::Equal, encoding.chars1}, {Operation::Insert, encoding.chars2}};
    decodeLines(segments, encoding.lines);
    EXPECT_EQ(segments[0].text, u"a\nb\na\nc");
    EXPECT_EQ(segments[1].text, u"b\nc\nc");
}

TEST(LineEncoding, TooManyLinesEndInOneLastLine) {
    const std::u16string text1 = numberedLines(0, 40005);
    const auto encoding = encodeLines(text1, u"7\n");
    // Units 1 to 39,999 are single lines, unit 40,000 is the rest of the first text.
    ASSERT_EQ(encoding.chars1.size(), 40000u);
    EXPECT_EQ(encoding.chars1.back(), 40000);
    EXPECT_EQ(encoding.lines[40000], numberedLines(39999, 40005));
    EXPECT_EQ(encoding.chars2, std::u16string{8});

    const std::u16string text2 = numberedLines(100000, 130000);
    const auto both = encodeLines(numberedLines(0, 40000), text2);
    EXPECT_EQ(both.lines.size(), 65536u);
    EXPECT_EQ(both.chars2.back(), 65535);
    Segments segments{{Operation::Insert, both.chars2}};
    decodeLines(segments, both.lines);
    EXPECT_EQ(segments[0].text, text2);
}

} // namespace

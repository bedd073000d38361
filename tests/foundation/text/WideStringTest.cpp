#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

using namespace text;

TEST(WideString, Utf8RoundTripKeepsEveryPlane) {
    std::u16string s = u"a\u00e9\u20ac\U0001F600z";
    EXPECT_EQ(toUtf8(s), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(fromUtf8(toUtf8(s)), s);
}

TEST(WideString, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");      // overlong
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    EXPECT_EQ(fromUtf8("ab\xE2\x82"), u"ab\uFFFD");       // truncated at the end
    EXPECT_EQ(fromUtf8("\xF5\x80"), u"\uFFFD\uFFFD");
}

TEST(WideString, CaseRulesTouchOnlyAsciiLetters) {
    EXPECT_EQ(asciiLower(u"AbZ\u00C9["), u"abz\u00C9[");
    EXPECT_EQ(compareNoCase(u"Table", u"TABLE"), 0);
    EXPECT_LT(compareNoCase(u"abc", u"ABD"), 0);
    EXPECT_LT(compareNoCase(u"ab", u"abc"), 0);
    // '_' (0x5F) sorts before letters once they are lower-cased, as with wcsicmp.
    EXPECT_LT(compareNoCase(u"_", u"A"), 0);
    EXPECT_FALSE(equalsNoCase(u"\u00C9", u"\u00E9"));
}

TEST(WideString, NumbersAndParsing) {
    EXPECT_EQ(toWString(-42), u"-42");
    EXPECT_EQ(formatDefault(0.5), u"0.5");
    EXPECT_EQ(formatDefault(1e20), u"1e+20");
    std::int64_t v = 0;
    EXPECT_TRUE(parseInt(u"-9223372036854775808", v));
    EXPECT_EQ(v, INT64_MIN);
    EXPECT_FALSE(parseInt(u"9223372036854775808", v));
    EXPECT_FALSE(parseInt(u"", v));
    EXPECT_FALSE(parseInt(u"-", v));
    EXPECT_FALSE(parseInt(u"12a", v));
}

TEST(WideString, LineFeedTextDropsOnlyTheCarriageReturnOfEachPair) {
    EXPECT_EQ(toUtf8WithLineFeeds(u"a;\r\nb\u00e9\r\n"), "a;\nb\xC3\xA9\n");
    // A carriage return that ends no line is text and stays.
    EXPECT_EQ(toUtf8WithLineFeeds(u"x\ry\n\r\r\n\r"), "x\ry\n\r\n\r");
    EXPECT_EQ(toUtf8WithLineFeeds(u""), "");
}

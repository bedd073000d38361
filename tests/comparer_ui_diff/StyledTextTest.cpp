// How appended text breaks into display lines and styled spans.

#include "comparer/ui/diff/StyledText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using TextViewControl::Span;
using TextViewControl::StyledText;

namespace {

// Each line as "style:text|style:text".
std::vector<std::u16string> lines(const StyledText& text) {
    std::vector<std::u16string> out;
    for (std::size_t line = 0; line < text.lineCount(); ++line) {
        std::u16string shown;
        for (const Span* span = text.lineBegin(line); span != text.lineEnd(line); ++span) {
            if (!shown.empty())
                shown += u'|';
            shown += char16_t(u'0' + span->style);
            shown += u':';
            shown += text.spanText(*span);
        }
        out.push_back(shown);
    }
    return out;
}

using Lines = std::vector<std::u16string>;

} // namespace

TEST(StyledText, CarriageReturnsStayAtTheEndOfTheirLine) {
    StyledText text;
    text.append(u"CREATE TABLE [T] (\r\n[Id] LONG\r\n)", 0);
    EXPECT_EQ(lines(text), (Lines{u"0:CREATE TABLE [T] (\r", u"0:[Id] LONG\r", u"0:)"}));
    EXPECT_EQ(text.text(), u"CREATE TABLE [T] (\r\n[Id] LONG\r\n)");
}

TEST(StyledText, AFinalLineFeedLeavesAnEmptyLine) {
    StyledText text;
    text.append(u"a\n", 0);
    EXPECT_EQ(lines(text), (Lines{u"0:a", u""}));
    StyledText empty;
    empty.append(u"", 0);
    EXPECT_EQ(empty.lineCount(), 0u);
    StyledText feeds;
    feeds.append(u"\n\n", 2);
    EXPECT_EQ(lines(feeds), (Lines{u"2:", u"2:", u""}));
}

TEST(StyledText, ACarriageReturnAfterALineFeedIsSkipped) {
    StyledText text;
    text.append(u"a\n\rb", 1);
    EXPECT_EQ(lines(text), (Lines{u"1:a", u"1:b"}));
    // The skipped unit stays in the text; spans only point past it.
    EXPECT_EQ(text.text().size(), 4u);
}

TEST(StyledText, SegmentsOfOneLineKeepTheirStyles) {
    StyledText text;
    text.append(u"[Name] TEXT(", 0);
    text.append(u"5", 1);
    text.append(u"8", 2);
    text.append(u"0)\nnext", 0);
    EXPECT_EQ(lines(text), (Lines{u"0:[Name] TEXT(|1:5|2:8|0:0)", u"0:next"}));
}

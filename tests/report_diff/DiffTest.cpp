#include "report/diff/Diff.h"

#include "SegmentChecks.h"

#include <limits>
#include <random>

using namespace diff;

namespace {

constexpr auto Equal = Operation::Equal;
constexpr auto Delete = Operation::Delete;
constexpr auto Insert = Operation::Insert;

Deadline never() {
    return Deadline([] { return std::int64_t{0}; }, std::numeric_limits<std::int64_t>::max());
}

Deadline alreadyPassed() {
    return Deadline([] { return std::int64_t{1}; }, 0);
}

std::u16string randomText(std::mt19937& random, std::u16string_view alphabet, std::size_t length) {
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) {
        text.push_back(alphabet[random() % alphabet.size()]);
    }
    return text;
}

static_assert(segmentStyle(Equal) == 0 && segmentStyle(Delete) == 1 && segmentStyle(Insert) == 2);

TEST(Diff, EmptyAndEqualTexts) {
    EXPECT_TRUE(computeDiff(u"", u"").empty());
    EXPECT_EQ(computeDiff(u"same", u"same"), (Segments{{Equal, u"same"}}));
    const std::u16string added = u"ALTER TABLE [T] ADD COLUMN [F] TEXT(50);\r\n";
    EXPECT_EQ(computeDiff(u"", added), (Segments{{Insert, added}}));
    EXPECT_EQ(computeDiff(added, u""), (Segments{{Delete, added}}));
}

TEST(Diff, OneChangedWordKeepsTheRestEqual) {
    EXPECT_EQ(computeDiff(u"SELECT [Price] FROM [Orders];", u"SELECT [Cost] FROM [Orders];"),
              (Segments{{Equal, u"SELECT ["},
                        {Delete, u"Price"},
                        {Insert, u"Cost"},
                        {Equal, u"] FROM [Orders];"}}));
}

TEST(Diff, SurrogatePairsAreComparedByUnits) {
    // The two emoji share their high surrogate, and the diff works on UTF-16 units.
    EXPECT_EQ(
        computeDiff(u"x\U0001F600y", u"x\U0001F601y"),
        (Segments{{Equal, u"x\xD83D"}, {Delete, u"\xDE00"}, {Insert, u"\xDE01"}, {Equal, u"y"}}));
}

TEST(Diff, LongLineTextsAreRediffedCharacterByCharacter) {
    std::u16string text1, text2;
    for (int i = 0; i < 30; ++i) {
        const std::u16string head = u"line " + std::u16string(1, u'a' + i % 26) + u": value ";
        text1 += head + u"1\n";
        text2 += head + (i % 3 == 0 ? u"2\n" : u"1\n");
    }
    const Segments segments = computeDiff(text1, text2);
    expectWellFormed(segments, text1, text2);
    int changes = 0;
    for (const auto& segment : segments) {
        if (segment.operation == Delete) {
            EXPECT_EQ(segment.text, u"1");
            ++changes;
        } else if (segment.operation == Insert) {
            EXPECT_EQ(segment.text, u"2");
        }
    }
    EXPECT_EQ(changes, 10);
}

TEST(Diff, PassedDeadlineGivesUpOnTheMiddleOnly) {
    // No shared run long enough for a half-match, so only the bisection could refine it.
    const Segments segments = diffMain(u"<abab-baba>", u"<bbaa-abab>", true, alreadyPassed());
    EXPECT_EQ(
        segments,
        (Segments{{Equal, u"<"}, {Delete, u"abab-baba"}, {Insert, u"bbaa-abab"}, {Equal, u">"}}));
}

TEST(Diff, DeadlinePassingMidwayStillAccountsForAllText) {
    std::mt19937 random(7);
    const std::u16string text1 = randomText(random, u"abcd\n", 3000);
    const std::u16string text2 = randomText(random, u"abcd\n", 3000);
    const Segments full = diffMain(text1, text2, true, never());
    for (const std::int64_t readings : {1, 10, 100}) {
        int reads = 0;
        const Segments coarse = diffMain(
            text1, text2, true, Deadline([&reads] { return std::int64_t{++reads}; }, readings));
        expectWellFormed(coarse, text1, text2);
        EXPECT_GT(reads, readings);
        EXPECT_LT(coarse.size(), full.size()) << readings << " readings";
    }
}

TEST(Diff, RealDeadlineBoundsALongUnstructuredDiff) {
    std::mt19937 random(11);
    const std::u16string text1 = randomText(random, u"abcd", 40000);
    const std::u16string text2 = randomText(random, u"abcd", 40000);
    expectWellFormed(computeDiff(text1, text2), text1, text2);
}

TEST(Diff, RandomEditsGiveWellFormedSegments) {
    std::mt19937 random(3);
    const std::u16string alphabet = u"ab c\n\r\xE9\xD83D\xDE00.";
    for (int round = 0; round < 300; ++round) {
        std::u16string text1 = randomText(random, alphabet, random() % 300);
        std::u16string text2 = text1;
        for (int edits = random() % 6; edits > 0; --edits) {
            const auto at = random() % (text2.size() + 1);
            text2.replace(at, std::min<std::size_t>(random() % 8, text2.size() - at),
                          randomText(random, alphabet, random() % 8));
        }
        SCOPED_TRACE(round);
        expectWellFormed(computeDiff(text1, text2), text1, text2);
    }
}

} // namespace

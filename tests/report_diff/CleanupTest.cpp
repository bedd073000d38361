#include "report/diff/Cleanup.h"

#include "SegmentChecks.h"

#include <gtest/gtest.h>

using namespace diff;

namespace {

constexpr auto Equal = Operation::Equal;
constexpr auto Delete = Operation::Delete;
constexpr auto Insert = Operation::Insert;

Segments merged(Segments segments) {
    cleanupMerge(segments);
    return segments;
}

Segments semantic(Segments segments) {
    cleanupSemantic(segments);
    return segments;
}

TEST(CleanupMerge, JoinsRunsAndFactorsOutSharedEnds) {
    EXPECT_EQ(merged({{Equal, u"a"}, {Equal, u"b"}, {Delete, u"c"}, {Delete, u"d"}}),
              (Segments{{Equal, u"ab"}, {Delete, u"cd"}}));
    EXPECT_EQ(merged({{Insert, u"b"}, {Delete, u"a"}, {Insert, u"c"}}),
              (Segments{{Delete, u"a"}, {Insert, u"bc"}}));
    EXPECT_EQ(
        merged({{Equal, u"x"}, {Delete, u"a"}, {Insert, u"abc"}, {Delete, u"dc"}, {Equal, u"y"}}),
        (Segments{{Equal, u"xa"}, {Delete, u"d"}, {Insert, u"b"}, {Equal, u"cy"}}));
    // A prefix shared by a leading run becomes a new first segment.
    EXPECT_EQ(merged({{Delete, u"ab"}, {Insert, u"ac"}}),
              (Segments{{Equal, u"a"}, {Delete, u"b"}, {Insert, u"c"}}));
    EXPECT_TRUE(merged({}).empty());
}

TEST(CleanupMerge, SlidesEditsOverEqualities) {
    EXPECT_EQ(merged({{Equal, u"a"}, {Insert, u"ba"}, {Equal, u"c"}}),
              (Segments{{Insert, u"ab"}, {Equal, u"ac"}}));
    EXPECT_EQ(merged({{Equal, u"c"}, {Delete, u"ab"}, {Equal, u"a"}}),
              (Segments{{Equal, u"ca"}, {Delete, u"ba"}}));
    // One slide enables the next.
    EXPECT_EQ(
        merged({{Equal, u"x"}, {Delete, u"ca"}, {Equal, u"c"}, {Delete, u"b"}, {Equal, u"a"}}),
        (Segments{{Equal, u"xca"}, {Delete, u"cba"}}));
}

TEST(CleanupSemantic, DropsCoincidentalEqualities) {
    EXPECT_EQ(semantic({{Delete, u"abc"}, {Equal, u"\n"}, {Delete, u"def"}, {Insert, u"xyz"}}),
              (Segments{{Delete, u"abc\ndef"}, {Insert, u"\nxyz"}}));
    // An equality longer than the edits around it stays.
    const Segments kept{{Delete, u"ab"}, {Equal, u"cdef"}, {Insert, u"gh"}};
    EXPECT_EQ(semantic(kept), kept);
}

TEST(CleanupSemantic, MovesEditsToNaturalBreaks) {
    EXPECT_EQ(semantic({{Equal, u"The c"}, {Insert, u"ow and the c"}, {Equal, u"at."}}),
              (Segments{{Equal, u"The "}, {Insert, u"cow and the "}, {Equal, u"cat."}}));
    EXPECT_EQ(
        semantic({{Equal, u"AAA\r\n\r\nBBB"}, {Insert, u" DDD\r\n\r\nBBB"}, {Equal, u" EEE"}}),
        (Segments{{Equal, u"AAA\r\n\r\n"}, {Insert, u"BBB DDD\r\n\r\n"}, {Equal, u"BBB EEE"}}));
    // U+3000 is white space to the boundary rules, like a plain space.
    EXPECT_EQ(semantic({{Equal, u"The c"}, {Insert, u"ow\u3000the c"}, {Equal, u"at."}}),
              (Segments{{Equal, u"The "}, {Insert, u"cow\u3000the "}, {Equal, u"cat."}}));
}

TEST(CleanupSemantic, SplitsOverlapsBetweenDeletionAndInsertion) {
    EXPECT_EQ(semantic({{Delete, u"abcxxx"}, {Insert, u"xxxdef"}}),
              (Segments{{Delete, u"abc"}, {Equal, u"xxx"}, {Insert, u"def"}}));
    EXPECT_EQ(semantic({{Delete, u"xxxabc"}, {Insert, u"defxxx"}}),
              (Segments{{Insert, u"def"}, {Equal, u"xxx"}, {Delete, u"abc"}}));
    // Too small an overlap stays an edit.
    const Segments kept{{Delete, u"abcxx"}, {Insert, u"xxdefgh"}};
    EXPECT_EQ(semantic(kept), kept);
}

} // namespace

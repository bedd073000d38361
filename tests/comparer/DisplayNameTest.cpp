#include "comparer/DisplayName.h"

#include <gtest/gtest.h>

namespace {

std::u16string repeat(char16_t c, std::size_t n) {
    return std::u16string(n, c);
}

} // namespace

TEST(DisplayName, FortyCharactersOrFewerStayAsTheyAre) {
    EXPECT_EQ(shortenDisplayName(u""), u"");
    std::u16string forty = u"/data/" + repeat(u'a', 30) + u".mdb";
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(shortenDisplayName(forty), forty);
}

TEST(DisplayName, WithoutAUsefulSeparatorKeepsTwentyCharactersEachSide) {
    std::u16string noSeparator =
        u"ABCDEFGHIJKLMNOPQRST" + std::u16string(u"x") + u"abcdefghijklmnopqrst";
    ASSERT_EQ(noSeparator.size(), 41u);
    EXPECT_EQ(shortenDisplayName(noSeparator), u"ABCDEFGHIJKLMNOPQRST...abcdefghijklmnopqrst");

    // The last separator at position 5 is too near the start.
    EXPECT_EQ(shortenDisplayName(u"/ab/c/" + repeat(u'n', 40)),
              u"/ab/c/" + repeat(u'n', 14) + u"..." + repeat(u'n', 20));

    // A file name of 40 characters or more (separator included) is cut as well.
    EXPECT_EQ(shortenDisplayName(u"C:\\abc\\" + repeat(u'n', 40)),
              u"C:\\abc\\" + repeat(u'n', 13) + u"..." + repeat(u'n', 20));
    std::u16string longFile = u"/home/user/" + repeat(u'f', 39);
    EXPECT_EQ(shortenDisplayName(longFile),
              u"/home/user/" + repeat(u'f', 9) + u"..." + repeat(u'f', 20));
}

TEST(DisplayName, KeepsTheWholeFileNameAndCutsTheFolders) {
    std::u16string path = u"/home/someone/projects/accounting/2024/ledger-final.accdb";
    std::u16string shortened = shortenDisplayName(path);
    EXPECT_EQ(shortened, u"/home/someone/project.../ledger-final.accdb");
    EXPECT_EQ(shortened.size(), 43u);

    EXPECT_EQ(shortenDisplayName(u"C:\\Documents and Settings\\someone\\My Documents\\db1.mdb"),
              u"C:\\Documents and Settings\\someon...\\db1.mdb");
    // A title is shortened like a path; its last slash counts as well.
    EXPECT_EQ(shortenDisplayName(u"Production database of the west region, copy A/B"),
              u"Production database of the west region.../B");
}

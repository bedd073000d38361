// Every leaf entry Access wrote in the shared Jet 4 and ACE files equals the key rebuilt from
// its row's values.

#include "SharedFiles.h"

#include "foundation/engine/jetfile/IndexCheck.h"
#include "foundation/engine/jetfile/TextKey.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace engine::jetfile;

namespace {

class IndexKeys : public testing::TestWithParam<std::string> {};

TEST_P(IndexKeys, EveryLeafEntryEqualsTheKeyOfItsRow) {
    PageFile file(jettest::sharedFile(GetParam()));
    IndexCheckResult result = checkIndexes(file);
    std::cout << GetParam() << ": " << result.indexes << " indexes, " << result.entries
              << " entries checked, " << result.matched << " matched, " << result.unsupported
              << " of unsupported columns; by column type:";
    for (const auto& [type, count] : result.entriesByColumnType)
        std::cout << " " << int(type) << "=" << count;
    std::cout << "\n";
    for (const std::string& mismatch : result.mismatches)
        ADD_FAILURE() << mismatch;
    EXPECT_EQ(result.matched + result.unsupported, result.entries);
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, IndexKeys, testing::ValuesIn(jettest::writableFormatFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

} // namespace

namespace {

Bytes textKey(std::u16string_view text, TextOrder order, bool ascending = true) {
    Bytes key;
    appendTextKey(key, text, order, ascending);
    return key;
}

TEST(TextKeys, CaseTrailingSpacesAndCharactersPastTheIndexedLengthDoNotCount) {
    for (TextOrder order : {TextOrder::jet4General, TextOrder::aceGeneral}) {
        EXPECT_EQ(textKey(u"abc", order), textKey(u"ABC  ", order));
        EXPECT_NE(textKey(u"abc", order), textKey(u"abd", order));
        EXPECT_EQ(textKey(std::u16string(255, u'x'), order),
                  textKey(std::u16string(255, u'x') + u"yz", order));
        EXPECT_LT(textKey(u"ab", order), textKey(u"abc", order));
        EXPECT_LT(textKey(u"abc", order), textKey(u"abd", order));
        EXPECT_GT(textKey(u"ab", order, false), textKey(u"abc", order, false));
    }
}

TEST(TextKeys, AccentsSortAfterTheirLetterThroughExtraCodes) {
    // Jet 4: "e" and "é" share their inline code; the accent follows as an extra code.
    EXPECT_EQ(textKey(u"e", TextOrder::jet4General), (Bytes{0x51, 0x01, 0x00}));
    EXPECT_EQ(textKey(u"\u00e9", TextOrder::jet4General), (Bytes{0x51, 0x01, 0x0E, 0x00}));
    EXPECT_LT(textKey(u"e", TextOrder::jet4General), textKey(u"\u00e9", TextOrder::jet4General));
    EXPECT_LT(textKey(u"\u00e9", TextOrder::jet4General), textKey(u"f", TextOrder::jet4General));
    // Descending inverts the value and closes it with an inverted and a plain end byte.
    EXPECT_EQ(textKey(u"e", TextOrder::jet4General, false), (Bytes{0xAE, 0xFE, 0xFF, 0x00}));
}

} // namespace

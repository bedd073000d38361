// An index rebuilt from its table's rows holds exactly the leaf entries Access wrote, in
// Access's order, and packs into leaf pages that decode back to them.

#include "SharedFiles.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexBuilder.h"
#include "foundation/engine/jetfile/IndexWriter.h"
#include "foundation/engine/jetfile/PageTypes.h"
#include "foundation/engine/jetfile/UsageMap.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace engine::jetfile;

namespace {

std::vector<IndexEntry> writtenLeafEntries(const PageFile& file, PageNumber root) {
    std::vector<IndexEntry> entries;
    PageNumber number = root;
    for (;;) {
        Bytes bytes = file.read(number);
        IndexPage page = IndexPage::decode(bytes);
        if (page.leaf)
            break;
        number = splitEntry(page.entries.front(), false).childPage;
    }
    for (std::size_t hops = 0; number != 0 && hops <= file.pageCount(); ++hops) {
        IndexPage page = IndexPage::decode(file.read(number));
        entries.insert(entries.end(), page.entries.begin(), page.entries.end());
        number = page.nextPage;
    }
    return entries;
}

class IndexRebuild : public testing::TestWithParam<std::string> {};

TEST_P(IndexRebuild, EntriesFromRowsEqualTheLeavesAccessWrote) {
    PageFile file(jettest::sharedFile(GetParam()));
    std::size_t indexes = 0, entries = 0;
    for (const CatalogTable& table : listTables(file)) {
        TableDefinition definition = TableDefinition::read(file, table.definitionPage);
        for (const PhysicalIndex& index : definition.physicalIndexes) {
            std::vector<IndexEntry> built = leafEntriesFromRows(file, definition, index);
            std::vector<IndexEntry> written = writtenLeafEntries(file, index.rootPage);
            ASSERT_EQ(built.size(), written.size())
                << std::string(table.name.begin(), table.name.end());
            for (std::size_t i = 0; i < built.size(); ++i)
                ASSERT_EQ(built[i].bytes, written[i].bytes)
                    << std::string(table.name.begin(), table.name.end()) << " entry " << i;

            std::vector<IndexEntry> unpacked;
            for (const IndexPage& page : packLeaves(built, definition.pages.front())) {
                IndexPage decoded = IndexPage::decode(page.encode());
                EXPECT_EQ(decoded.freeSpace, page.freeSpace);
                unpacked.insert(unpacked.end(), decoded.entries.begin(), decoded.entries.end());
            }
            ASSERT_EQ(unpacked.size(), built.size());
            for (std::size_t i = 0; i < built.size(); ++i)
                ASSERT_EQ(unpacked[i].bytes, built[i].bytes);
            // Access's page usage map of an index lists exactly the pages of its tree.
            std::vector<PageNumber> tree = indexTreePages(file, index.rootPage);
            EXPECT_EQ(readUsageMap(file, index.usageMap).pages,
                      std::set<PageNumber>(tree.begin(), tree.end()));
            ++indexes;
            entries += built.size();
        }
    }
    std::cout << GetParam() << ": " << indexes << " indexes rebuilt, " << entries << " entries\n";
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, IndexRebuild,
                         testing::ValuesIn(jettest::writableFormatFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(IndexPacking, ManyEntriesSpreadOverPagesThatEachFitAndKeepTheirOrder) {
    std::vector<IndexEntry> entries;
    for (std::uint32_t i = 0; i < 3000; ++i) {
        IndexEntry entry{{0x7F, 0x80, 0, std::uint8_t(i >> 8), std::uint8_t(i)}};
        Bytes pointer = {0, 0, 9, std::uint8_t(i % 200)};
        entry.bytes.insert(entry.bytes.end(), pointer.begin(), pointer.end());
        entries.push_back(entry);
    }
    std::vector<IndexPage> pages = packLeaves(entries, 5);
    ASSERT_GT(pages.size(), 1u);
    std::size_t at = 0;
    for (const IndexPage& page : pages) {
        EXPECT_GE(page.prefixLength, 3) << "entries of one page share their high bytes";
        IndexPage decoded = IndexPage::decode(page.encode());
        for (const IndexEntry& entry : decoded.entries)
            ASSERT_EQ(entry.bytes, entries[at++].bytes);
    }
    EXPECT_EQ(at, entries.size());
}

} // namespace

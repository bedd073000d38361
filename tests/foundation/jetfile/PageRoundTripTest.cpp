// Decoding then encoding every page of every shared Jet 4 and ACE file gives back the bytes
// the format defines: whole pages where every byte is defined, and everything but the unused
// area of data, table definition and index pages.

#include "SharedFiles.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/DataPage.h"
#include "foundation/engine/jetfile/IndexPage.h"
#include "foundation/engine/jetfile/LongValue.h"
#include "foundation/engine/jetfile/PageTypes.h"
#include "foundation/engine/jetfile/UsageMap.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>

using namespace engine::jetfile;

namespace {

struct Figures {
    std::map<std::string, int> pages;
    int rows = 0;
    int usageMaps = 0;
    int longValues = 0;
};

// Compares two pages outside [unused.first, unused.second).
void expectSamePage(const Bytes& original, const Bytes& encoded,
                    std::pair<std::size_t, std::size_t> unused, const std::string& where) {
    ASSERT_EQ(original.size(), encoded.size()) << where;
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (i >= unused.first && i < unused.second)
            continue;
        ASSERT_EQ(int(original[i]), int(encoded[i])) << where << " byte " << i;
    }
}

class PageRoundTrip : public testing::TestWithParam<std::string> {};

void checkUsageMap(const PageFile& file, std::uint32_t pointer, Figures& figures,
                   const std::string& where) {
    if (pointer == 0)
        return; // no map
    RowPointer at = RowPointer::fromStored(pointer);
    Bytes bytes = file.read(at.page);
    DataPage page = DataPage::decode(bytes);
    ByteView row = rowAt(page, at.row);
    UsageMap map = UsageMap::decodeRow(row, file);
    EXPECT_EQ(map.encodeRow(), row.copy()) << where;
    ++figures.usageMaps;
}

void checkTable(const PageFile& file, const CatalogTable& table, Figures& figures) {
    std::string where = std::string(table.name.begin(), table.name.end());
    TableDefinition definition = TableDefinition::read(file, table.definitionPage);
    std::vector<Bytes> pages = definition.encodePages();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Bytes original = file.read(definition.pages[i]);
        expectSamePage(original, pages[i], tableDefinitionUnusedArea(original),
                       where + " definition page " + std::to_string(definition.pages[i]));
    }
    checkUsageMap(file, definition.usedPages, figures, where + " owned pages");
    checkUsageMap(file, definition.freePages, figures, where + " free pages");
    for (const PhysicalIndex& index : definition.physicalIndexes)
        if (index.usageMap != 0)
            checkUsageMap(file, index.usageMap, figures, where + " index pages");
    for (const ColumnUsageMaps& maps : definition.columnUsageMaps) {
        checkUsageMap(file, maps.usedPages, figures, where + " long value pages");
        checkUsageMap(file, maps.freePages, figures, where + " long value free pages");
    }

    UsageMap owned = readUsageMap(file, definition.usedPages);
    for (PageNumber number : owned.pages) {
        if (number >= file.pageCount())
            continue;
        Bytes bytes = file.read(number);
        if (bytes[0] != page::data)
            continue;
        DataPage page = DataPage::decode(bytes);
        if (page.owner != table.definitionPage)
            continue;
        for (const DataRow& stored : page.rows) {
            if (stored.deleted || stored.overflow)
                continue;
            StoredRow row = StoredRow::decode(stored.bytes, definition);
            ASSERT_EQ(row.encode(), stored.bytes) << where << " row on page " << number;
            ++figures.rows;
            for (const ColumnDefinition& column : definition.columns) {
                if (column.type != column::memo && column.type != column::oleObject)
                    continue;
                auto value = row.value(column);
                if (!value || value->size() < 12)
                    continue;
                LongValueReference reference = LongValueReference::decode(*value);
                EXPECT_EQ(reference.encode(), value->copy()) << where;
                EXPECT_NO_THROW(readLongValue(file, *value)) << where;
                ++figures.longValues;
            }
        }
    }
}

TEST_P(PageRoundTrip, EveryPageDecodesAndEncodesToItsBytes) {
    PageFile file(jettest::sharedFile(GetParam()));
    Figures figures;
    // Pages no live table, index or long-value column owns hold whatever they held before
    // they were freed; the format defines nothing about them.
    std::set<PageNumber> owned = {0, 1};
    for (const CatalogTable& table : listTables(file)) {
        TableDefinition definition = TableDefinition::read(file, table.definitionPage);
        owned.insert(definition.pages.begin(), definition.pages.end());
        std::vector<std::uint32_t> maps = {definition.usedPages};
        for (const PhysicalIndex& index : definition.physicalIndexes)
            maps.push_back(index.usageMap);
        for (const ColumnUsageMaps& column : definition.columnUsageMaps)
            maps.push_back(column.usedPages);
        for (std::uint32_t map : maps)
            if (map != 0)
                for (PageNumber page : readUsageMap(file, map).pages)
                    owned.insert(page);
    }
    std::set<PageNumber> continuations;
    for (PageNumber number = 0; number < file.pageCount(); ++number) {
        Bytes bytes = file.read(number);
        if (bytes[0] == page::tableDefinition && ByteView(bytes).u32(4) != 0)
            continuations.insert(ByteView(bytes).u32(4));
    }
    for (PageNumber number = 0; number < file.pageCount(); ++number) {
        Bytes original = file.read(number);
        bool free = owned.count(number) == 0;
        std::string where = GetParam() + " page " + std::to_string(number);
        try {
            switch (original[0]) {
            case page::definition:
                // Pages the file grew by but that were never written are all zeros.
                if (number != 0 && original == Bytes(pageSize)) {
                    ++figures.pages["blank"];
                    break;
                }
                if (number != 0)
                    throw FormatError("definition page after page 0");
                EXPECT_EQ(HeaderPage::decode(original).encode(), original) << where;
                ++figures.pages["header"];
                break;
            case page::data: {
                DataPage page = DataPage::decode(original);
                expectSamePage(original, page.encode(), page.unusedArea(), where);
                ++figures.pages[page.holdsLongValues() ? "long value" : "data"];
                break;
            }
            case page::tableDefinition:
                if (!continuations.count(number)) {
                    TableDefinition definition = TableDefinition::read(file, number);
                    std::vector<Bytes> pages = definition.encodePages();
                    expectSamePage(original, pages.front(), tableDefinitionUnusedArea(original),
                                   where);
                }
                ++figures.pages["table definition"];
                break;
            case page::indexNode:
            case page::indexLeaf: {
                IndexPage page = IndexPage::decode(original);
                expectSamePage(original, page.encode(), page.unusedArea(), where);
                ++figures.pages[page.leaf ? "index leaf" : "index node"];
                break;
            }
            case page::usageMap:
                EXPECT_EQ(UsageMapPage::decode(original).encode(), original) << where;
                ++figures.pages["usage map"];
                break;
            default:
                ++figures.pages["other"];
                EXPECT_TRUE(free) << where << " has an unknown type " << int(original[0]);
            }
        } catch (const FormatError& e) {
            // The format defines nothing about a free page.
            EXPECT_TRUE(free) << where << ": " << e.what();
            ++figures.pages["unowned, undecodable"];
        }
    }
    for (const CatalogTable& table : listTables(file)) {
        SCOPED_TRACE(std::string(table.name.begin(), table.name.end()));
        checkTable(file, table, figures);
    }

    std::cout << GetParam() << ":";
    for (const auto& [kind, count] : figures.pages)
        std::cout << " " << count << " " << kind << ",";
    std::cout << " rows " << figures.rows << ", usage maps " << figures.usageMaps
              << ", long values " << figures.longValues << "\n";
}

// Access leaves deleted rows at the offset of a live row; a live row changed in place keeps its
// new bytes when its page is encoded.
TEST(DataPageRows, LiveRowWinsOverADeletedRowAtItsOffset) {
    PageFile file(jettest::sharedFile("compIndexTestV2003.mdb"));
    int shared = 0;
    for (PageNumber number = 0; number < file.pageCount(); ++number) {
        Bytes bytes = file.read(number);
        if (bytes[0] != page::data)
            continue;
        DataPage page = DataPage::decode(bytes);
        for (std::size_t live = 0; live < page.rows.size(); ++live) {
            if (page.rows[live].deleted)
                continue;
            for (const DataRow& other : page.rows) {
                if (!other.deleted || other.offset != page.rows[live].offset)
                    continue;
                DataPage changed = page;
                std::fill(changed.rows[live].bytes.begin(), changed.rows[live].bytes.end(), 0xA5);
                DataPage back = DataPage::decode(changed.encode());
                EXPECT_EQ(back.rows[live].bytes, changed.rows[live].bytes) << "page " << number;
                ++shared;
                break;
            }
        }
    }
    EXPECT_GE(shared, 1) << "the file has deleted rows at live rows' offsets";
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, PageRoundTrip,
                         testing::ValuesIn(jettest::writableFormatFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

} // namespace

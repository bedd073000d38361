#include "foundation/engine/jetfile/TablePages.h"

#include "foundation/engine/jetfile/IndexBuilder.h"
#include "foundation/engine/jetfile/IndexWriter.h"
#include "foundation/engine/jetfile/PageTypes.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

// An inline map covers this many bytes of bitmap, as in the maps Access writes.
constexpr std::size_t inlineBitmapBytes = 64;
// Usage map pages carry no owner.
constexpr std::uint32_t mapPageOwner = 0;

Bytes emptyMapRow(PageNumber start) {
    UsageMap map;
    map.startPage = start;
    map.bitmap.assign(inlineBitmapBytes, 0);
    return map.encodeRow();
}

Bytes mapRowOf(PageNumber page) {
    Bytes row = emptyMapRow(page);
    row[5] = 1; // the first bit after the type and the start page
    return row;
}

// Every row pointer of the definition that names a usage map.
std::vector<std::uint32_t> mapRows(const TableDefinition& table) {
    std::vector<std::uint32_t> rows{table.usedPages, table.freePages};
    for (const PhysicalIndex& index : table.physicalIndexes)
        rows.push_back(index.usageMap);
    for (const ColumnUsageMaps& maps : table.columnUsageMaps) {
        rows.push_back(maps.usedPages);
        rows.push_back(maps.freePages);
    }
    std::erase(rows, 0u);
    return rows;
}

// Places a usage map row on the page of the table's first map while it has room.
std::uint32_t placeMapRow(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table,
                          Bytes row) {
    std::vector<std::uint32_t> rows = mapRows(table);
    PageNumber last = rows.empty() ? 0 : RowPointer::fromStored(rows.back()).page;
    if (last != 0) {
        DataPage page = DataPage::decode(copy.read(last));
        if (page.hasRoomFor(row.size())) {
            std::uint8_t at = page.addRow(std::move(row));
            copy.write(last, page.encode());
            return RowPointer{last, at}.stored();
        }
    }
    PageNumber number = allocator.allocate();
    DataPage page = DataPage::empty(mapPageOwner);
    std::uint8_t at = page.addRow(std::move(row));
    copy.write(number, page.encode());
    return RowPointer{number, at}.stored();
}

void writeEmptyRoot(WorkingCopy& copy, const TableDefinition& table, PageNumber root) {
    copy.write(root, packLeaves({}, table.pages.front()).front().encode());
}

void releaseAll(PageAllocator& allocator, std::set<PageNumber> pages) {
    for (PageNumber page : pages)
        allocator.release(page);
}

// Pages of a map of map pages hold bitmaps of their own.
void addMapPages(const PageSource& file, std::uint32_t rowPointer, std::set<PageNumber>& pages) {
    UsageMap map = readUsageMap(file, rowPointer);
    for (PageNumber page : map.bitmapPages)
        if (page != 0)
            pages.insert(page);
}

// The pages of the rows, when nothing else lives on them.
void addRowPages(const PageSource& file, const std::vector<std::uint32_t>& rows,
                 std::set<PageNumber>& pages) {
    std::set<PageNumber> candidates;
    for (std::uint32_t row : rows)
        candidates.insert(RowPointer::fromStored(row).page);
    for (PageNumber number : candidates) {
        DataPage page = DataPage::decode(file.read(number));
        bool onlyThese = true;
        for (std::size_t i = 0; i < page.rows.size(); ++i) {
            std::uint32_t at = RowPointer{number, std::uint8_t(i)}.stored();
            bool listed = std::find(rows.begin(), rows.end(), at) != rows.end();
            onlyThese = onlyThese && (listed || page.rows[i].deleted);
        }
        if (onlyThese)
            pages.insert(number);
    }
}

// Deletes a usage map row the table no longer lists; its map pages, and its row's page once no
// map of the table is left on it, join the pages to free.
void dropMapRow(WorkingCopy& copy, const TableDefinition& table, std::uint32_t rowPointer,
                std::set<PageNumber>& pages) {
    if (rowPointer == 0)
        return;
    addMapPages(copy, rowPointer, pages);
    RowPointer row = RowPointer::fromStored(rowPointer);
    DataPage mapPage = DataPage::decode(copy.read(row.page));
    mapPage.rows.at(row.row).deleted = true;
    copy.write(row.page, mapPage.encode());
    std::vector<std::uint32_t> others = mapRows(table);
    bool shared = std::any_of(others.begin(), others.end(), [&](std::uint32_t other) {
        return RowPointer::fromStored(other).page == row.page;
    });
    if (!shared)
        addRowPages(copy, {rowPointer}, pages);
}

} // namespace

void allocateTablePages(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table) {
    table.pages.clear();
    for (std::size_t i = 0; i < table.pagesNeeded(); ++i)
        table.pages.push_back(allocator.allocate());
    table.usedPages = placeMapRow(copy, allocator, table, emptyMapRow(0));
    table.freePages = placeMapRow(copy, allocator, table, emptyMapRow(0));
    for (PhysicalIndex& index : table.physicalIndexes)
        allocateIndexPages(copy, allocator, table, index);
    for (ColumnUsageMaps& maps : table.columnUsageMaps)
        allocateColumnMaps(copy, allocator, table, maps);
    writeDefinition(copy, allocator, table);
}

void allocateIndexPages(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table,
                        PhysicalIndex& index) {
    index.rootPage = allocator.allocate();
    writeEmptyRoot(copy, table, index.rootPage);
    index.usageMap = 0;
    index.usageMap = placeMapRow(copy, allocator, table, mapRowOf(index.rootPage));
}

void allocateColumnMaps(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table,
                        ColumnUsageMaps& maps) {
    maps.usedPages = 0;
    maps.freePages = 0;
    maps.usedPages = placeMapRow(copy, allocator, table, emptyMapRow(0));
    maps.freePages = placeMapRow(copy, allocator, table, emptyMapRow(0));
}

void writeDefinition(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table) {
    std::size_t needed = table.pagesNeeded();
    while (table.pages.size() < needed)
        table.pages.push_back(allocator.allocate());
    while (table.pages.size() > needed) {
        allocator.release(table.pages.back());
        table.pages.pop_back();
    }
    std::vector<Bytes> pages = table.encodePages();
    for (std::size_t i = 0; i < pages.size(); ++i)
        copy.write(table.pages[i], std::move(pages[i]));
}

void releaseIndexPages(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table,
                       const PhysicalIndex& index) {
    std::vector<PageNumber> tree = indexTreePages(copy, index.rootPage);
    std::set<PageNumber> pages(tree.begin(), tree.end());
    dropMapRow(copy, table, index.usageMap, pages);
    releaseAll(allocator, std::move(pages));
}

void releaseColumnMaps(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table,
                       const ColumnUsageMaps& maps) {
    std::set<PageNumber> pages;
    dropMapRow(copy, table, maps.usedPages, pages);
    dropMapRow(copy, table, maps.freePages, pages);
    releaseAll(allocator, std::move(pages));
}

void releaseTablePages(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table) {
    std::set<PageNumber> pages(table.pages.begin(), table.pages.end());
    std::vector<std::uint32_t> listing{table.usedPages};
    for (const ColumnUsageMaps& maps : table.columnUsageMaps)
        listing.push_back(maps.usedPages);
    for (std::uint32_t map : listing)
        for (PageNumber page : readUsageMap(copy, map).pages) {
            if (page >= copy.pageCount())
                continue;
            Bytes bytes = copy.read(page);
            if (bytes[0] != page::data)
                continue;
            DataPage data = DataPage::decode(bytes);
            if (data.owner == table.pages.front() || data.holdsLongValues())
                pages.insert(page);
        }
    for (const PhysicalIndex& index : table.physicalIndexes) {
        std::vector<PageNumber> tree = indexTreePages(copy, index.rootPage);
        pages.insert(tree.begin(), tree.end());
    }
    std::vector<std::uint32_t> rows = mapRows(table);
    for (std::uint32_t row : rows)
        addMapPages(copy, row, pages);
    addRowPages(copy, rows, pages);
    releaseAll(allocator, std::move(pages));
}

} // namespace engine::jetfile

#include "foundation/engine/jetfile/IndexBuilder.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/DataPage.h"
#include "foundation/engine/jetfile/IndexKey.h"
#include "foundation/engine/jetfile/PageTypes.h"
#include "foundation/engine/jetfile/UsageMap.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

constexpr std::size_t entriesAt = 0x1E0;
constexpr std::size_t leafPointerSize = 4;
constexpr std::size_t nodePointerSize = 8;

bool allKeyColumnsNull(const TableDefinition& table, const PhysicalIndex& index,
                       const StoredRow& row) {
    for (const IndexColumn& part : index.columns()) {
        const ColumnDefinition* column = table.columnByNumber(part.columnNumber);
        if (!column || column->type == column::boolean || row.value(*column))
            return false;
    }
    return true;
}

std::size_t commonPrefix(const Bytes& a, const Bytes& b) {
    std::size_t limit = std::min(a.size(), b.size());
    std::size_t n = 0;
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

// The shared prefix of a page's keys (pointers aside): sorted entries share what the first
// and the last share.
std::size_t keyPrefix(const IndexEntry& first, const IndexEntry& last, std::size_t pointerSize) {
    Bytes a(first.bytes.begin(), first.bytes.end() - std::ptrdiff_t(pointerSize));
    Bytes b(last.bytes.begin(), last.bytes.end() - std::ptrdiff_t(pointerSize));
    return commonPrefix(a, b);
}

std::vector<IndexPage> packPages(const std::vector<IndexEntry>& entries, std::uint32_t owner,
                                 bool leaf) {
    std::size_t pointerSize = leaf ? leafPointerSize : nodePointerSize;
    std::vector<IndexPage> pages;
    std::size_t from = 0;
    do {
        // Grow the page while the entries fit, the prefix shrinking as the range widens.
        std::size_t to = from;
        std::size_t total = 0;
        while (to < entries.size()) {
            std::size_t prefix = to > from ? keyPrefix(entries[from], entries[to], pointerSize) : 0;
            std::size_t size = total + entries[to].bytes.size() - (to - from) * prefix;
            if (entriesAt + size > pageSize)
                break;
            total += entries[to].bytes.size();
            ++to;
        }
        if (to == from && from < entries.size())
            throw FormatError("index entry larger than a page");
        IndexPage page;
        page.leaf = leaf;
        page.owner = owner;
        page.prefixLength = std::uint16_t(
            to - from > 1 ? keyPrefix(entries[from], entries[to - 1], pointerSize) : 0);
        page.entries.assign(entries.begin() + std::ptrdiff_t(from),
                            entries.begin() + std::ptrdiff_t(to));
        page.freeSpace = std::uint16_t(pageSize - page.unusedArea().first);
        pages.push_back(std::move(page));
        from = to;
    } while (from < entries.size());
    return pages;
}

} // namespace

std::vector<IndexEntry> leafEntriesFromRows(const PageSource& file, const TableDefinition& table,
                                            const PhysicalIndex& index) {
    std::vector<IndexEntry> entries;
    forEachRow(file, table, [&](PageNumber number, std::uint8_t slot, StoredRow&& row) {
        if ((index.flags & index::ignoreNullsFlag) && allKeyColumnsNull(table, index, row))
            return;
        IndexEntry entry{indexKey(file, table, index, row)};
        entry.bytes.push_back(std::uint8_t(number >> 16));
        entry.bytes.push_back(std::uint8_t(number >> 8));
        entry.bytes.push_back(std::uint8_t(number));
        entry.bytes.push_back(slot);
        entries.push_back(std::move(entry));
    });
    std::sort(entries.begin(), entries.end(),
              [](const IndexEntry& a, const IndexEntry& b) { return a.bytes < b.bytes; });
    return entries;
}

std::vector<IndexPage> packLeaves(const std::vector<IndexEntry>& entries, std::uint32_t owner) {
    return packPages(entries, owner, true);
}

std::vector<IndexPage> packNodes(const std::vector<IndexEntry>& entries, std::uint32_t owner) {
    return packPages(entries, owner, false);
}

} // namespace engine::jetfile

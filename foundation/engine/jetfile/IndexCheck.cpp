#include "foundation/engine/jetfile/IndexCheck.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/DataPage.h"
#include "foundation/engine/jetfile/IndexKey.h"
#include "foundation/engine/jetfile/IndexPage.h"
#include "foundation/engine/jetfile/PageTypes.h"

#include <set>
#include <unordered_map>

namespace engine::jetfile {

namespace {

constexpr std::size_t reportedMismatches = 10;

std::string hex(ByteView bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : bytes.span()) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string utf8(const std::u16string& name) {
    std::string out;
    for (char16_t unit : name)
        out += unit < 0x80 ? char(unit) : '?';
    return out;
}

// The leaves of an index from left to right: down the first entries, then along the chain.
std::vector<IndexPage> leaves(const PageSource& file, PageNumber root) {
    std::vector<IndexPage> list;
    std::set<PageNumber> seen;
    PageNumber number = root;
    for (;;) {
        if (!seen.insert(number).second)
            throw FormatError("index pages form a loop");
        Bytes bytes = file.read(number);
        if (bytes[0] != page::indexNode && bytes[0] != page::indexLeaf)
            return list;
        IndexPage page = IndexPage::decode(bytes);
        if (page.leaf)
            break;
        if (page.entries.empty())
            return list;
        number = splitEntry(page.entries.front(), false).childPage;
    }
    while (number != 0) {
        if (list.size() > 0 && !seen.insert(number).second)
            throw FormatError("index leaves form a loop");
        IndexPage page = IndexPage::decode(file.read(number));
        number = page.nextPage;
        list.push_back(std::move(page));
    }
    return list;
}

// The live rows of a table by their row pointer, read once for all its indexes.
using RowsByPlace = std::unordered_map<std::uint32_t, StoredRow>;

RowsByPlace rowsByPlace(const PageSource& file, const TableDefinition& table) {
    RowsByPlace rows;
    forEachRow(file, table, [&](PageNumber page, std::uint8_t row, StoredRow&& stored) {
        rows.emplace(RowPointer{page, row}.stored(), std::move(stored));
    });
    return rows;
}

void checkIndex(const PageSource& file, const TableDefinition& table, const PhysicalIndex& index,
                const RowsByPlace& liveRows, const std::string& where, IndexCheckResult& result) {
    ++result.indexes;
    std::set<std::uint32_t> rows;
    for (const IndexPage& leaf : leaves(file, index.rootPage)) {
        for (const IndexEntry& entry : leaf.entries) {
            ++result.entries;
            EntryParts parts = splitEntry(entry, true);
            std::string problem;
            if (!rows.insert(RowPointer{parts.dataPage, parts.dataRow}.stored()).second)
                problem = "a second entry for row " + std::to_string(parts.dataRow) + " of page " +
                          std::to_string(parts.dataPage);
            try {
                if (!problem.empty())
                    throw FormatError(problem);
                // An entry that points at no live row is read from its page, which tells a
                // deleted row from a damaged pointer.
                std::optional<StoredRow> row;
                auto live = liveRows.find(RowPointer{parts.dataPage, parts.dataRow}.stored());
                if (live != liveRows.end())
                    row = live->second;
                else
                    row = readRow(file, table, parts.dataPage, parts.dataRow);
                if (!row) {
                    problem = "points to a deleted row";
                } else {
                    Bytes key = indexKey(file, table, index, *row);
                    if (key == parts.key.copy()) {
                        ++result.matched;
                        for (const IndexColumn& part : index.columns())
                            if (const ColumnDefinition* c = table.columnByNumber(part.columnNumber))
                                ++result.entriesByColumnType[c->type];
                        continue;
                    }
                    problem = "wrote " + hex(parts.key) + ", rebuilt " + hex(key);
                }
            } catch (const UnsupportedKey&) {
                ++result.unsupported;
                continue;
            } catch (const FormatError& e) {
                problem = e.what();
            }
            if (result.mismatches.size() < reportedMismatches)
                result.mismatches.push_back(where + ": " + problem);
        }
    }
    // Every row has an entry in every index, nulls included unless the index ignores them.
    bool complete = (index.flags & index::ignoreNullsFlag) ? rows.size() <= liveRows.size()
                                                           : rows.size() == liveRows.size();
    if (!complete && result.mismatches.size() < reportedMismatches)
        result.mismatches.push_back(where + ": " + std::to_string(rows.size()) +
                                    " rows indexed of " + std::to_string(liveRows.size()) +
                                    " rows, flags " + std::to_string(index.flags));
}

} // namespace

IndexCheckResult checkIndexes(const PageSource& file) {
    IndexCheckResult result;
    for (const CatalogTable& table : listTables(file)) {
        TableDefinition definition = TableDefinition::read(file, table.definitionPage);
        RowsByPlace liveRows = rowsByPlace(file, definition);
        for (std::size_t i = 0; i < definition.physicalIndexes.size(); ++i)
            checkIndex(file, definition, definition.physicalIndexes[i], liveRows,
                       utf8(table.name) + " index " + std::to_string(i), result);
    }
    return result;
}

} // namespace engine::jetfile

#include "foundation/engine/jetfile/Catalog.h"

#include "foundation/engine/jetfile/DataPage.h"
#include "foundation/engine/jetfile/PageTypes.h"
#include "foundation/engine/jetfile/Text.h"
#include "foundation/engine/jetfile/UsageMap.h"

namespace engine::jetfile {

namespace {

constexpr std::int16_t localTableType = 1;
constexpr std::uint32_t idPageMask = 0x00FFFFFF;
// An overflow row may point to another overflow row; a longer chain means a damaged file.
constexpr int maxOverflowHops = 8;

} // namespace

const ColumnDefinition& columnNamed(const TableDefinition& table, std::u16string_view name) {
    for (const ColumnDefinition& c : table.columns)
        if (c.name == name)
            return c;
    throw FormatError("a system table has no column " + std::string(name.begin(), name.end()));
}

std::optional<StoredRow> readRow(const PageSource& file, const TableDefinition& table,
                                 std::uint32_t pageNumber, std::uint8_t row) {
    for (int hop = 0; hop <= maxOverflowHops; ++hop) {
        Bytes bytes = file.read(pageNumber);
        DataPage page = DataPage::decode(bytes);
        if (row >= page.rows.size())
            throw FormatError("row pointer past the rows of its page");
        const DataRow& stored = page.rows[row];
        if (stored.deleted && hop == 0)
            return std::nullopt;
        if (!stored.overflow)
            return StoredRow::decode(stored.bytes, table);
        RowPointer next = RowPointer::fromStored(ByteView(stored.bytes).u32(0));
        pageNumber = next.page;
        row = next.row;
    }
    throw FormatError("overflow rows form a chain too long");
}

void forEachRow(const PageSource& file, const TableDefinition& table,
                const std::function<void(PageNumber, std::uint8_t, StoredRow&&)>& visit) {
    UsageMap owned = readUsageMap(file, table.usedPages);
    for (PageNumber number : owned.pages) {
        if (number >= file.pageCount())
            continue;
        Bytes bytes = file.read(number);
        if (bytes[0] != page::data)
            continue;
        DataPage page = DataPage::decode(bytes);
        if (page.owner != table.pages.front())
            continue;
        // Rows in place come from the page decoded here; only moved rows are looked up.
        for (std::size_t i = 0; i < page.rows.size(); ++i) {
            const DataRow& stored = page.rows[i];
            if (stored.deleted)
                continue;
            if (!stored.overflow)
                visit(number, std::uint8_t(i), StoredRow::decode(stored.bytes, table));
            else if (auto row = readRow(file, table, number, std::uint8_t(i)))
                visit(number, std::uint8_t(i), std::move(*row));
        }
    }
}

std::vector<StoredRow> readRows(const PageSource& file, const TableDefinition& table) {
    std::vector<StoredRow> rows;
    forEachRow(file, table,
               [&](PageNumber, std::uint8_t, StoredRow&& row) { rows.push_back(std::move(row)); });
    return rows;
}

std::vector<CatalogTable> listTables(const PageSource& file) {
    TableDefinition catalog = TableDefinition::read(file, catalogDefinitionPage);
    const ColumnDefinition& id = columnNamed(catalog, u"Id");
    const ColumnDefinition& name = columnNamed(catalog, u"Name");
    const ColumnDefinition& type = columnNamed(catalog, u"Type");
    std::vector<CatalogTable> tables;
    for (const StoredRow& row : readRows(file, catalog)) {
        auto typeBytes = row.value(type);
        auto idBytes = row.value(id);
        auto nameBytes = row.value(name);
        if (!typeBytes || !idBytes || !nameBytes)
            continue;
        if (std::int16_t(typeBytes->u16(0)) != localTableType)
            continue;
        tables.push_back({decodeText(*nameBytes), PageNumber(idBytes->u32(0) & idPageMask)});
    }
    return tables;
}

} // namespace engine::jetfile

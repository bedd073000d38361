#pragma once

// The tables of a file, read from the system catalog MSysObjects (its definition is always
// on page 2), and the rows of a table read by their row pointers.

#include "foundation/engine/jetfile/StoredRow.h"

#include <functional>
#include <map>

namespace engine::jetfile {

constexpr PageNumber catalogDefinitionPage = 2;

struct CatalogTable {
    std::u16string name;
    PageNumber definitionPage = 0;
};

// The column of a system table; a FormatError when the table lacks it.
const ColumnDefinition& columnNamed(const TableDefinition& table, std::u16string_view name);

// Local and system tables (MSysObjects rows of type 1).
std::vector<CatalogTable> listTables(const PageSource& file);

// The row at a row pointer of the table, following an overflow pointer; nullopt for a deleted
// row.
std::optional<StoredRow> readRow(const PageSource& file, const TableDefinition& table,
                                 std::uint32_t page, std::uint8_t row);

// Every live row of a table, through its usage map.
std::vector<StoredRow> readRows(const PageSource& file, const TableDefinition& table);

// Every live row of the table with its place (data page, row number), in page order.
void forEachRow(const PageSource& file, const TableDefinition& table,
                const std::function<void(PageNumber, std::uint8_t, StoredRow&&)>& visit);

} // namespace engine::jetfile

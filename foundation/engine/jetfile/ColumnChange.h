#pragma once

// A column added to a table definition or dropped from it, the way Access changes the
// definition: an added column takes the number after the highest ever used (dropped ones
// count) and goes last; its fixed-length data goes after the end of the live fixed columns,
// a variable-length one takes the next entry of the offset table. A dropped column leaves
// the other columns' numbers and places as they were, so that indexes keep their column
// numbers. Stored rows move to the new layout through rewriteRow.

#include "foundation/engine/jetfile/StoredRow.h"
#include "foundation/engine/jetfile/TableDesign.h"

namespace engine::jetfile {

TableDefinition withColumnAdded(const TableDefinition& table, std::u16string_view tableName,
                                const ColumnDesign& column);
// Refuses a column that is part of an index.
TableDefinition withColumnDropped(const TableDefinition& table, std::u16string_view column);

// A column's stored bytes, nullopt for null. A Yes/No column has no bytes: empty for Yes,
// nullopt for No.
using ColumnValue = std::optional<Bytes>;

ColumnValue columnValue(const StoredRow& row, const ColumnDefinition& column);

// The row, stored in from's layout, laid out for to: each column of to takes the value of
// the column of the same number in from, a column from does not have takes addedValue.
StoredRow rewriteRow(const StoredRow& row, const TableDefinition& from, const TableDefinition& to,
                     const ColumnValue& addedValue = std::nullopt);

} // namespace engine::jetfile

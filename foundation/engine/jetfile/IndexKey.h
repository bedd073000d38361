#pragma once

// The key an index entry holds for a row: for each column of the index a flag (value or
// null, ascending or descending) and the value encoded so that comparing the bytes sorts the
// rows in the index's order.

#include "foundation/engine/jetfile/StoredRow.h"
#include "foundation/engine/jetfile/TextKey.h"

namespace engine::jetfile {

// A column whose key encoding is not known (an unknown sort order, a type that Access does
// not index).
class UnsupportedKey : public FormatError {
public:
    using FormatError::FormatError;
};

// The text order of a column: its own sort order, else the database's.
TextOrder textOrderOf(const ColumnDefinition& column, const Format& format);

Bytes indexKey(const PageSource& file, const TableDefinition& table, const PhysicalIndex& index,
               const StoredRow& row);

} // namespace engine::jetfile

#pragma once

// The layout of one row: the column count, the fixed-length columns, the variable-length
// columns, the variable offset table (stored backwards, closed by the end-of-data offset) and
// the null mask, one bit per column number, 1 meaning "has a value" (for Yes/No columns the
// bit is the value itself).

#include "foundation/engine/jetfile/TableDefinition.h"

#include <optional>

namespace engine::jetfile {

struct StoredRow {
    std::uint16_t columnCount = 0;
    Bytes fixed;
    bool hasVariableTable = false;
    std::vector<Bytes> variable;
    Bytes padding; // left between the variable data and its end offset by a shrunk row
    Bytes nullMask;

    static StoredRow decode(ByteView row, const TableDefinition& table);
    Bytes encode() const;

    bool hasValue(std::uint16_t columnNumber) const;
    // The stored bytes of a column; nullopt when null or absent from this row. A Yes/No
    // column has no bytes: its value is hasValue().
    std::optional<ByteView> value(const ColumnDefinition& column) const;
};

// The size in a row of a fixed-length column.
std::size_t fixedColumnSize(const ColumnDefinition& column);

} // namespace engine::jetfile

#pragma once

// A row of a table laid out from its column values, as Access lays out a new row: every
// fixed-length column at its offset, the variable-length columns in their order, a null mask
// over all column numbers.

#include "foundation/engine/jetfile/StoredRow.h"

#include <map>

namespace engine::jetfile {

// Stored bytes by column number; a column left out is null. A Yes/No column is true when its
// bytes are present and the first is not 0.
using ColumnValues = std::map<std::uint16_t, Bytes>;

StoredRow buildRow(const TableDefinition& table, const ColumnValues& values);

} // namespace engine::jetfile

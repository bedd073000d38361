#pragma once

// An index added to a table definition or dropped from it. An added index shares a B-tree
// over the same columns with the same flags, as in a new table, else gets a new one, last;
// its logical index takes the next number. A dropped index takes its B-tree along when no
// other index shares it; the numbers after it close up.

#include "foundation/engine/jetfile/TableDesign.h"

namespace engine::jetfile {

// The number of the B-tree the index uses; a new one has no pages yet.
std::size_t addIndex(TableDefinition& table, const IndexDesign& design);

// The B-tree the index leaves unused, out of the definition now, for its pages to be freed.
std::optional<PhysicalIndex> dropIndex(TableDefinition& table, std::u16string_view name);

} // namespace engine::jetfile

#pragma once

// What a rebuilt table's definition rightly differs in from the original's: the sort orders
// columns take from their file, and the numbers indexes take from the order the script
// creates them in (a file's own history, which no statement can repeat).

#include "foundation/engine/jetfile/HeaderPage.h"
#include "foundation/engine/jetfile/TableDefinition.h"

#include <optional>

namespace rebuildtest {

// The original definition as a file of sort order `to` would hold it: each column's sort
// order that of a new column there. nullopt when a column's sort order is not the one a new
// column of its file (of sort order `from`) gets.
std::optional<engine::jetfile::TableDefinition>
withSortOrdersOf(engine::jetfile::TableDefinition original, engine::jetfile::SortOrder from,
                 engine::jetfile::SortOrder to);

// The rebuilt definition with its logical indexes numbered as the original's of the same name
// and its physical indexes in the order of their first use, as creating the indexes in the
// original's order would have made them.
engine::jetfile::TableDefinition
withIndexNumbersOf(engine::jetfile::TableDefinition rebuilt,
                   const engine::jetfile::TableDefinition& original);

} // namespace rebuildtest

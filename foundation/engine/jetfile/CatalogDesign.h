#pragma once

// The stored form of a table of the catalog model: ADOX column types and sizes become the
// column types and byte lengths of a table definition, and catalog indexes its index designs.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/jetfile/TableDesign.h"

namespace engine::jetfile {

// Throws DefinitionRefused for a type the writer does not make, and for a name the engine
// refuses (empty, longer than 64, a leading space, control characters or . ! ` [ ]).
ColumnDesign columnDesignOf(const catalog::Column& column, SortOrder fileOrder);
IndexDesign indexDesignOf(const catalog::Index& index);
TableDesign tableDesignOf(const catalog::Table& table, SortOrder fileOrder);

} // namespace engine::jetfile

#pragma once

// The schema rowsets of ADO OpenSchema, built from a catalog: columns (4), check constraints
// (5) and table constraints (10). A column validation rule shows as a check constraint named
// "[column].ValidationRule" in rowset 10 and "[table].[column].ValidationRule" in rowset 5.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/api/CatalogModel.h"

#include <memory>
#include <vector>

namespace engine {

// Throws EngineError for a schema id other than the three.
std::shared_ptr<ado::Recordset> schemaRowset(const catalog::Catalog& catalog, int schema,
                                             const std::vector<Variant>& restrictions);

} // namespace engine

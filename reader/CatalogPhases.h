#pragma once

// The phases of a schema read that go through the ADOX catalog and the ADO schema rowsets.
// Each throws engine::EngineError for its caller to record or to treat as fatal.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/api/Adox.h"
#include "foundation/settings/Progress.h"
#include "reader/Warnings.h"
#include "schema/Database.h"

namespace reader {

// Local and linked tables with their columns and indexes, one progress step per catalog
// table. Temporary tables are skipped, and hidden ones unless includeHidden. A local table
// whose columns or indexes cannot be read is left out with the warning "Can't read table "
// and its name; every other failure is thrown.
void readTables(const engine::adox::Tables& tables, bool includeHidden, Database& schema,
                settings::IProgress& progress, Warnings& warnings);

// A unique key for every unique index that is not the primary key.
void addUniqueKeys(Database& schema);

void readCheckConstraints(engine::ado::Connection& connection, Database& schema);

// Positions of the fields from the columns rowset, then the fields sorted by them.
void readColumnOrder(engine::ado::Connection& connection, Database& schema);

void readViews(const engine::adox::Catalog& catalog, Database& schema);
void readProcedures(const engine::adox::Catalog& catalog, Database& schema);

} // namespace reader

#pragma once

// Forms, reports, macros, modules and table data macros, read through the Access application:
// each object of a kind is exported as text to a temporary file, whose bytes become a document
// element of the schema unchanged.

#include "foundation/database/DatabaseDescription.h"
#include "foundation/engine/api/Components.h"
#include "foundation/settings/ComparerOptions.h"
#include "foundation/settings/Progress.h"
#include "reader/Warnings.h"
#include "schema/Database.h"

namespace reader {

// How many of the five object kinds the options switch on.
int accessObjectKindCount(const settings::comparer::Options& options);

// Starts Access on the database, reads the kinds switched on (table data macros, forms,
// modules, macros, reports) with one progress step per kind read without error, and closes
// Access again. Nothing here is fatal: each failure is recorded as a warning and the next kind
// follows; when Access cannot be started no kind is read.
void readAccessObjects(engine::Components& components,
                       const database::DatabaseDescription& description,
                       const settings::comparer::Options& options, Database& schema,
                       settings::IProgress& progress, Warnings& warnings);

} // namespace reader

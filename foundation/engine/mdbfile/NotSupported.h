#pragma once

// What a writable Access file does not take yet. Each refusal names the statement or change and
// comes before anything is written, so the file stays as it was.

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/Ddl.h"

#include <optional>
#include <string>
#include <string_view>

namespace engine::mdbfile {

// "<what> is not supported on Access files yet."
EngineError notSupported(std::u16string_view what);

// The name of what the DDL statement asks for that Access files do not take (ALTER COLUMN,
// CREATE VIEW, a FOREIGN KEY or CHECK constraint, ...); nullopt when they take all of it. sql
// is the statement's text, which tells views from procedures.
std::optional<std::u16string> unsupportedPart(const embedded::ddl::Statement& statement,
                                              std::u16string_view sql);

// The same for a query or data change: INSERT, UPDATE, DELETE, SELECT ... INTO, SELECT of a
// table's rows and any SELECT beyond the reader's; nullopt for what the reader answers (the
// simple SELECTs over MSysObjects).
std::optional<std::u16string> unsupportedQuery(std::u16string_view sql,
                                               const catalog::Catalog& catalog);

} // namespace engine::mdbfile

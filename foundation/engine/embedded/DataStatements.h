#pragma once

// Runs the data statements of an embedded database. A statement is translated (see
// DmlTranslator.h), its parameters bound in order, and it runs in a transaction of its own: a
// change either passes every check (stored types, required values, validation rules, CHECK
// constraints, keys and relationships) and is committed whole, or fails with the engine's
// message and leaves the file as it was. A query hands back its rows as a recordset.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/embedded/AccessFunctions.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <memory>

namespace engine::embedded {

struct DmlStatement;

class DataStatements {
public:
    // Registers the engine's SQL functions on the connection, which must not outlive this.
    explicit DataStatements(SqliteDatabase& db);

    std::shared_ptr<ado::Recordset> execute(const catalog::Catalog& catalog,
                                            std::u16string_view sql,
                                            const std::vector<Variant>& parameters,
                                            std::int64_t* recordsAffected);

private:
    std::shared_ptr<ado::Recordset> query(const catalog::Catalog& catalog,
                                          const DmlStatement& statement,
                                          const std::vector<Variant>& parameters);
    std::int64_t change(const catalog::Catalog& catalog, const DmlStatement& statement,
                        const std::vector<Variant>& parameters);
    SqliteStatement prepare(const std::string& sql);
    // Rethrows a failure of the running statement with the engine's wording.
    [[noreturn]] void fail(const EngineError& error, const catalog::Catalog& catalog,
                           const DmlStatement& statement);

    SqliteDatabase& db_;
    std::unique_ptr<StatementContext> context_ = std::make_unique<StatementContext>();
};

} // namespace engine::embedded

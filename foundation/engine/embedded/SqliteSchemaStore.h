#pragma once

// The schema store of an embedded database: the catalog tables hold the schema, and each
// change also brings the SQLite table that holds the rows along (see DataTables). Runs inside
// the caller's transaction, with foreign key enforcement off.

#include "foundation/engine/embedded/CatalogStore.h"
#include "foundation/engine/embedded/DataTables.h"
#include "foundation/engine/embedded/SchemaStore.h"

namespace engine::embedded {

class SqliteSchemaStore : public SchemaStore {
public:
    explicit SqliteSchemaStore(SqliteDatabase& db) : catalog_(db), data_(db) {}

    std::optional<catalog::Table> loadTable(std::u16string_view name) override;
    std::optional<catalog::Query> loadQuery(std::u16string_view name) override;
    std::vector<catalog::Relation> relationsOf(std::u16string_view table) override;
    std::optional<catalog::Relation> loadRelation(std::u16string_view name) override;

    void createTable(const TableEdit& edit) override;
    void appendTable(const catalog::Table& table) override;
    void changeTable(const TableEdit& edit) override;
    void dropTable(const catalog::Table& table) override;
    void insertQuery(const catalog::Query& query) override;
    void deleteQuery(std::u16string_view name) override;

private:
    CatalogStore catalog_;
    DataTables data_;
};

} // namespace engine::embedded

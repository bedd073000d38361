#pragma once

// The schema store of a writable Access file: the schema editor reads the session's catalog and
// each change it has checked is written into the working copy by the page store's schema
// writer. The catalog follows every change, so that the next statement of a transaction sees
// it. What the writer does not cover yet (relationships, CHECK constraints, saved queries,
// linked tables, renaming or retyping a column) is refused before anything is written.

#include "foundation/engine/embedded/SchemaStore.h"
#include "foundation/engine/jetfile/SchemaWriter.h"

namespace engine::mdbfile {

class AccessSchemaStore : public embedded::SchemaStore {
public:
    AccessSchemaStore(catalog::Catalog& catalog, jetfile::SchemaWriter& writer)
        : catalog_(catalog), writer_(writer) {}

    std::optional<catalog::Table> loadTable(std::u16string_view name) override;
    std::optional<catalog::Query> loadQuery(std::u16string_view name) override;
    std::vector<catalog::Relation> relationsOf(std::u16string_view table) override;
    std::optional<catalog::Relation> loadRelation(std::u16string_view name) override;

    // Throws EngineError: the writer's refusal, or notSupported().
    void createTable(const embedded::TableEdit& edit) override;
    void appendTable(const catalog::Table& table) override;
    void changeTable(const embedded::TableEdit& edit) override;
    void dropTable(const catalog::Table& table) override;
    void insertQuery(const catalog::Query& query) override;
    void deleteQuery(std::u16string_view name) override;

private:
    void replaceTable(const catalog::Table& table);

    catalog::Catalog& catalog_;
    jetfile::SchemaWriter& writer_;
};

} // namespace engine::mdbfile

#pragma once

// The catalog tables of an embedded database: the Access view of its schema (tables with their
// columns, field properties, indexes and check constraints; relations; saved queries), the
// database password and the schema version. Catalog tables have names with a "." in them, which no
// Access name may hold, so they never meet a user's table.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace engine::embedded {

// "KELV" at offset 68 of the file: the SQLite application id of an embedded database.
constexpr std::int32_t applicationId = 0x4B454C56;
// PRAGMA user_version: the layout of the catalog tables.
constexpr int formatVersion = 2;

class CatalogStore {
public:
    explicit CatalogStore(SqliteDatabase& db) : db_(db) {}

    // Makes the catalog tables of a new database.
    void create();
    // Throws unrecognizedFormat when the file is not an embedded database this build reads.
    void checkFormat();

    // Counts every change of the schema; a cached catalog is current while it is unchanged.
    std::int64_t schemaVersion();
    void bumpSchemaVersion();

    catalog::Catalog load();
    std::optional<catalog::Table> loadTable(std::u16string_view name);
    // The relations in which the table is the referenced or the referencing one.
    std::vector<catalog::Relation> relationsOf(std::u16string_view table);
    std::optional<catalog::Relation> loadRelation(std::u16string_view name);
    std::optional<catalog::Query> loadQuery(std::u16string_view name);

    // Writes the table's row and replaces its columns, indexes and checks.
    void saveTable(const catalog::Table& table);
    void deleteTable(std::u16string_view name);
    void insertRelation(const catalog::Relation& relation);
    void deleteRelation(std::u16string_view name);
    void insertQuery(const catalog::Query& query);
    void deleteQuery(std::u16string_view name);

    // The stored value of a key of the info table; nullopt when absent.
    std::optional<Variant::Bytes> info(std::string_view key);
    void setInfo(std::string_view key, const Variant::Bytes& value);

private:
    SqliteDatabase& db_;
};

} // namespace engine::embedded

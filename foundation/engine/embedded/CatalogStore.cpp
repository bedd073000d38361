#include "foundation/engine/embedded/CatalogStore.h"

#include "foundation/text/WideString.h"

#include "foundation/engine/embedded/CatalogCodec.h"
#include "foundation/engine/embedded/SystemObjects.h"

namespace engine::embedded {

namespace {

// One row per table, relation and saved query, each holding its whole definition (see
// CatalogCodec): a schema change writes few pages. A table's hidden and temporary flags are
// columns of their own, which hold for those two; so are the values of its MSysObjects row
// (see SystemObjects) and its data macros. The Access application's documents are kept by
// kind (its object type) and name.
const char* const catalogSchema = R"(
CREATE TABLE "kel.info" (key TEXT PRIMARY KEY, value BLOB) WITHOUT ROWID;
CREATE TABLE "kel.tables" (
    name TEXT PRIMARY KEY COLLATE NOCASE,
    hidden INTEGER NOT NULL,
    temporary INTEGER NOT NULL,
    definition BLOB NOT NULL,
    data_macro BLOB,
    object_type INTEGER NOT NULL,
    object_flags INTEGER NOT NULL,
    link_connect TEXT,
    link_database TEXT,
    link_foreign_name TEXT) WITHOUT ROWID;
CREATE TABLE "kel.relations" (
    name TEXT PRIMARY KEY COLLATE NOCASE,
    table_name TEXT NOT NULL COLLATE NOCASE,
    foreign_table TEXT NOT NULL COLLATE NOCASE,
    definition BLOB NOT NULL) WITHOUT ROWID;
CREATE INDEX "kel.relations.table" ON "kel.relations" (table_name);
CREATE INDEX "kel.relations.foreign" ON "kel.relations" (foreign_table);
CREATE TABLE "kel.queries" (
    name TEXT PRIMARY KEY COLLATE NOCASE,
    definition BLOB NOT NULL) WITHOUT ROWID;
CREATE TABLE "kel.documents" (
    kind INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    content BLOB NOT NULL,
    PRIMARY KEY (kind, name)) WITHOUT ROWID;
INSERT INTO "kel.info" VALUES ('schema_version', 0);
)";

// A table from a row of hidden, temporary and definition.
catalog::Table readTable(const SqliteStatement& row, std::u16string_view path) {
    catalog::Table table = decodeTable(row.blob(2), path);
    table.hidden = row.integer(0) != 0;
    table.temporary = row.integer(1) != 0;
    return table;
}

} // namespace

void CatalogStore::create() {
    db_.exec(catalogSchema);
    createSystemObjects(db_);
    db_.exec("PRAGMA application_id = " + std::to_string(applicationId));
    db_.exec("PRAGMA user_version = " + std::to_string(formatVersion));
}

void CatalogStore::checkFormat() {
    auto version = db_.prepare("PRAGMA user_version");
    version.step();
    auto tables = db_.prepare("SELECT count(*) FROM sqlite_schema WHERE name = 'kel.tables'");
    tables.step();
    if (version.integer(0) != formatVersion || tables.integer(0) != 1)
        throw errors::unrecognizedFormat(db_.path());
}

std::int64_t CatalogStore::schemaVersion() {
    auto row = db_.prepare("SELECT value FROM \"kel.info\" WHERE key = 'schema_version'");
    return row.step() ? row.integer(0) : 0;
}

void CatalogStore::bumpSchemaVersion() {
    db_.exec("UPDATE \"kel.info\" SET value = value + 1 WHERE key = 'schema_version'");
}

catalog::Catalog CatalogStore::load() {
    catalog::Catalog result;
    auto tables = db_.prepare("SELECT hidden, temporary, definition FROM \"kel.tables\" ORDER BY "
                              "name");
    while (tables.step())
        result.tables.push_back(readTable(tables, db_.path()));
    result.tables.push_back(systemObjectsTable());
    auto relations = db_.prepare("SELECT definition FROM \"kel.relations\" ORDER BY name");
    while (relations.step())
        result.relations.push_back(decodeRelation(relations.blob(0), db_.path()));
    auto queries = db_.prepare("SELECT definition FROM \"kel.queries\" ORDER BY name");
    while (queries.step())
        result.queries.push_back(decodeQuery(queries.blob(0), db_.path()));
    return result;
}

std::optional<catalog::Table> CatalogStore::loadTable(std::u16string_view name) {
    if (text::equalsNoCase(name, u"MSysObjects"))
        return systemObjectsTable();
    auto row = db_.prepare("SELECT hidden, temporary, definition FROM \"kel.tables\" WHERE "
                           "name = ?");
    row.bind(1, name);
    if (!row.step())
        return std::nullopt;
    return readTable(row, db_.path());
}

std::vector<catalog::Relation> CatalogStore::relationsOf(std::u16string_view table) {
    auto rows = db_.prepare("SELECT definition FROM \"kel.relations\" WHERE table_name = ?1 "
                            "UNION SELECT definition FROM \"kel.relations\" WHERE "
                            "foreign_table = ?1");
    rows.bind(1, table);
    std::vector<catalog::Relation> relations;
    while (rows.step())
        relations.push_back(decodeRelation(rows.blob(0), db_.path()));
    return relations;
}

std::optional<catalog::Relation> CatalogStore::loadRelation(std::u16string_view name) {
    auto row = db_.prepare("SELECT definition FROM \"kel.relations\" WHERE name = ?");
    row.bind(1, name);
    if (!row.step())
        return std::nullopt;
    return decodeRelation(row.blob(0), db_.path());
}

std::optional<catalog::Query> CatalogStore::loadQuery(std::u16string_view name) {
    auto row = db_.prepare("SELECT definition FROM \"kel.queries\" WHERE name = ?");
    row.bind(1, name);
    if (!row.step())
        return std::nullopt;
    return decodeQuery(row.blob(0), db_.path());
}

void CatalogStore::saveTable(const catalog::Table& table) {
    Bytes definition = encode(table);
    bool odbc = table.kind == catalog::TableKind::OdbcLink;
    bool linked = odbc || table.kind == catalog::TableKind::AccessLink;
    auto linkText = [&](SqliteStatement& row, int index, bool given, const std::u16string& text) {
        if (given)
            row.bind(index, std::u16string_view(text));
        else
            row.bindNull(index);
    };
    // The data macros stay with the table through every change of its definition.
    auto row = db_.prepare(
        "INSERT INTO \"kel.tables\" (name, hidden, temporary, definition, object_type, "
        "object_flags, link_connect, link_database, link_foreign_name) VALUES (?1, ?2, ?3, ?4, "
        "?5, ?6, ?7, ?8, ?9) ON CONFLICT (name) DO UPDATE SET hidden = ?2, temporary = ?3, "
        "definition = ?4, object_type = ?5, object_flags = ?6, link_connect = ?7, "
        "link_database = ?8, link_foreign_name = ?9");
    row.bind(1, std::u16string_view(table.name))
        .bind(2, std::int64_t(table.hidden))
        .bind(3, std::int64_t(table.temporary))
        .bindBlob(4, definition.data(), definition.size())
        .bind(5, std::int64_t(systemObjectType(table)))
        .bind(6, std::int64_t(systemObjectFlags(table)));
    linkText(row, 7, linked, odbc ? u"ODBC;" + table.linkProviderString : std::u16string());
    linkText(row, 8, linked && !odbc, table.linkDatasource);
    linkText(row, 9, linked, table.remoteTableName);
    row.run();
}

void CatalogStore::deleteTable(std::u16string_view name) {
    db_.prepare("DELETE FROM \"kel.tables\" WHERE name = ?").bind(1, name).run();
}

void CatalogStore::insertRelation(const catalog::Relation& relation) {
    Bytes definition = encode(relation);
    db_.prepare("INSERT INTO \"kel.relations\" VALUES (?, ?, ?, ?)")
        .bind(1, std::u16string_view(relation.name))
        .bind(2, std::u16string_view(relation.table))
        .bind(3, std::u16string_view(relation.foreignTable))
        .bindBlob(4, definition.data(), definition.size())
        .run();
}

void CatalogStore::deleteRelation(std::u16string_view name) {
    db_.prepare("DELETE FROM \"kel.relations\" WHERE name = ?").bind(1, name).run();
}

void CatalogStore::insertQuery(const catalog::Query& query) {
    Bytes definition = encode(query);
    db_.prepare("INSERT INTO \"kel.queries\" VALUES (?, ?)")
        .bind(1, std::u16string_view(query.name))
        .bindBlob(2, definition.data(), definition.size())
        .run();
}

void CatalogStore::deleteQuery(std::u16string_view name) {
    db_.prepare("DELETE FROM \"kel.queries\" WHERE name = ?").bind(1, name).run();
}

std::optional<Variant::Bytes> CatalogStore::info(std::string_view key) {
    auto row = db_.prepare("SELECT value FROM \"kel.info\" WHERE key = ?");
    row.bind(1, text::fromUtf8(key));
    if (!row.step())
        return std::nullopt;
    return row.blob(0);
}

void CatalogStore::setInfo(std::string_view key, const Variant::Bytes& value) {
    db_.prepare("INSERT OR REPLACE INTO \"kel.info\" VALUES (?, ?)")
        .bind(1, text::fromUtf8(key))
        .bindBlob(2, value.data(), value.size())
        .run();
}

} // namespace engine::embedded

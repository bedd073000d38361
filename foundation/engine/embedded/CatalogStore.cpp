#include "foundation/engine/embedded/CatalogStore.h"

#include "foundation/text/WideString.h"

#include <map>

namespace engine::embedded {

namespace {

const char* const catalogSchema = R"(
CREATE TABLE "kel.info" (key TEXT PRIMARY KEY, value BLOB);
CREATE TABLE "kel.tables" (
    name TEXT PRIMARY KEY COLLATE NOCASE,
    kind INTEGER NOT NULL,
    hidden INTEGER NOT NULL,
    temporary INTEGER NOT NULL,
    link_datasource TEXT NOT NULL,
    link_provider TEXT NOT NULL,
    remote_name TEXT NOT NULL,
    exclusive_link INTEGER NOT NULL,
    saved_password INTEGER NOT NULL,
    validation_rule TEXT NOT NULL,
    validation_text TEXT NOT NULL,
    data_macro BLOB);
CREATE TABLE "kel.columns" (
    table_name TEXT NOT NULL COLLATE NOCASE,
    ordinal INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    size INTEGER NOT NULL,
    precision INTEGER NOT NULL,
    scale INTEGER NOT NULL,
    nullable INTEGER NOT NULL,
    fixed_length INTEGER NOT NULL,
    auto_increment INTEGER NOT NULL,
    compressed INTEGER NOT NULL,
    allow_zero_length INTEGER NOT NULL,
    default_value TEXT,
    validation_rule TEXT NOT NULL,
    validation_text TEXT NOT NULL,
    PRIMARY KEY (table_name, ordinal),
    UNIQUE (table_name, name));
CREATE TABLE "kel.column_properties" (
    table_name TEXT NOT NULL COLLATE NOCASE,
    column_name TEXT NOT NULL COLLATE NOCASE,
    position INTEGER NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    value BLOB,
    PRIMARY KEY (table_name, column_name, position));
CREATE TABLE "kel.indexes" (
    table_name TEXT NOT NULL COLLATE NOCASE,
    position INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    is_primary INTEGER NOT NULL,
    is_unique INTEGER NOT NULL,
    nulls INTEGER NOT NULL,
    is_foreign INTEGER NOT NULL,
    PRIMARY KEY (table_name, position),
    UNIQUE (table_name, name));
CREATE TABLE "kel.index_columns" (
    table_name TEXT NOT NULL COLLATE NOCASE,
    index_name TEXT NOT NULL COLLATE NOCASE,
    position INTEGER NOT NULL,
    column_name TEXT NOT NULL,
    descending INTEGER NOT NULL,
    PRIMARY KEY (table_name, index_name, position));
CREATE TABLE "kel.checks" (
    table_name TEXT NOT NULL COLLATE NOCASE,
    position INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    clause TEXT NOT NULL,
    PRIMARY KEY (table_name, position));
CREATE TABLE "kel.relations" (
    name TEXT PRIMARY KEY COLLATE NOCASE,
    table_name TEXT NOT NULL COLLATE NOCASE,
    foreign_table TEXT NOT NULL COLLATE NOCASE,
    attributes INTEGER NOT NULL);
CREATE INDEX "kel.relations.table" ON "kel.relations" (table_name);
CREATE INDEX "kel.relations.foreign" ON "kel.relations" (foreign_table);
CREATE TABLE "kel.relation_fields" (
    relation_name TEXT NOT NULL COLLATE NOCASE,
    position INTEGER NOT NULL,
    name TEXT NOT NULL,
    foreign_name TEXT NOT NULL,
    PRIMARY KEY (relation_name, position));
CREATE TABLE "kel.queries" (
    name TEXT PRIMARY KEY COLLATE NOCASE,
    text TEXT NOT NULL,
    is_procedure INTEGER NOT NULL);
CREATE TABLE "kel.query_parameters" (
    query_name TEXT NOT NULL COLLATE NOCASE,
    position INTEGER NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    size INTEGER NOT NULL,
    precision INTEGER NOT NULL,
    scale INTEGER NOT NULL,
    PRIMARY KEY (query_name, position));
CREATE TABLE "kel.documents" (
    kind INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    content BLOB NOT NULL,
    PRIMARY KEY (kind, name));
INSERT INTO "kel.info" VALUES ('schema_version', 0);
)";

constexpr const char* tableColumns =
    "name, kind, hidden, temporary, link_datasource, link_provider, remote_name, "
    "exclusive_link, saved_password, validation_rule, validation_text";

catalog::Table readTable(SqliteStatement& row) {
    catalog::Table table;
    table.name = row.text(0);
    table.kind = catalog::TableKind(row.integer(1));
    table.hidden = row.integer(2);
    table.temporary = row.integer(3);
    table.linkDatasource = row.text(4);
    table.linkProviderString = row.text(5);
    table.remoteTableName = row.text(6);
    table.exclusiveLink = row.integer(7);
    table.savedPassword = row.integer(8);
    table.validationRule = row.text(9);
    table.validationText = row.text(10);
    return table;
}

constexpr const char* columnColumns =
    "table_name, name, type, size, precision, scale, nullable, fixed_length, auto_increment, "
    "compressed, allow_zero_length, default_value, validation_rule, validation_text";

catalog::Column readColumn(SqliteStatement& row) {
    catalog::Column column;
    column.name = row.text(1);
    column.type = int(row.integer(2));
    column.size = int(row.integer(3));
    column.precision = int(row.integer(4));
    column.scale = int(row.integer(5));
    column.nullable = row.integer(6);
    column.fixedLength = row.integer(7);
    column.autoIncrement = row.integer(8);
    column.compressed = row.integer(9);
    column.allowZeroLength = row.integer(10);
    column.defaultValue = row.optionalText(11);
    column.validationRule = row.text(12);
    column.validationText = row.text(13);
    return column;
}

// Index of a catalog table by its name ignoring case.
class TableIndex {
public:
    explicit TableIndex(std::vector<catalog::Table>& tables) : tables_(tables) {
        for (std::size_t i = 0; i < tables.size(); ++i)
            positions_[text::asciiLower(tables[i].name)] = i;
    }
    catalog::Table* find(const std::u16string& name) {
        auto it = positions_.find(text::asciiLower(name));
        return it == positions_.end() ? nullptr : &tables_[it->second];
    }

private:
    std::vector<catalog::Table>& tables_;
    std::map<std::u16string, std::size_t> positions_;
};

template <class T> T* findNamed(std::vector<T>& items, const std::u16string& name) {
    for (T& item : items)
        if (text::equalsNoCase(item.name, name))
            return &item;
    return nullptr;
}

catalog::Column systemColumn(const char16_t* name, int type, int size) {
    catalog::Column column;
    column.name = name;
    column.type = type;
    column.size = size;
    return column;
}

} // namespace

catalog::Table systemObjectsTable() {
    catalog::Table table;
    table.name = u"MSysObjects";
    table.kind = catalog::TableKind::System;
    table.columns = {
        systemColumn(u"Id", engine::type::integer, 4),
        systemColumn(u"ParentId", engine::type::integer, 4),
        systemColumn(u"Name", engine::type::varWChar, 255),
        systemColumn(u"Type", engine::type::smallInt, 2),
        systemColumn(u"Flags", engine::type::integer, 4),
        systemColumn(u"DateCreate", engine::type::date, 8),
        systemColumn(u"DateUpdate", engine::type::date, 8),
        systemColumn(u"Connect", engine::type::longVarWChar, 0),
        systemColumn(u"Database", engine::type::longVarWChar, 0),
        systemColumn(u"ForeignName", engine::type::varWChar, 255),
        systemColumn(u"LvExtra", engine::type::longVarBinary, 0),
    };
    return table;
}

void CatalogStore::create() {
    db_.exec(catalogSchema);
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
    {
        auto rows = db_.prepare(std::string("SELECT ") + tableColumns +
                                " FROM \"kel.tables\" ORDER BY name");
        while (rows.step())
            result.tables.push_back(readTable(rows));
    }
    TableIndex tables(result.tables);
    {
        auto rows = db_.prepare(std::string("SELECT ") + columnColumns +
                                " FROM \"kel.columns\" ORDER BY table_name, ordinal");
        while (rows.step())
            if (catalog::Table* table = tables.find(rows.text(0)))
                table->columns.push_back(readColumn(rows));
    }
    {
        auto rows = db_.prepare("SELECT table_name, column_name, name, type, value FROM "
                                "\"kel.column_properties\" ORDER BY table_name, column_name, "
                                "position");
        while (rows.step()) {
            catalog::Table* table = tables.find(rows.text(0));
            catalog::Column* column = table ? findNamed(table->columns, rows.text(1)) : nullptr;
            if (column) {
                int type = int(rows.integer(3));
                column->properties.push_back({rows.text(2), type, rows.value(4, type)});
            }
        }
    }
    {
        auto rows = db_.prepare("SELECT table_name, name, is_primary, is_unique, nulls, "
                                "is_foreign FROM \"kel.indexes\" ORDER BY table_name, position");
        while (rows.step())
            if (catalog::Table* table = tables.find(rows.text(0)))
                table->indexes.push_back({rows.text(1),
                                          bool(rows.integer(2)),
                                          bool(rows.integer(3)),
                                          int(rows.integer(4)),
                                          bool(rows.integer(5)),
                                          {}});
    }
    {
        auto rows = db_.prepare("SELECT table_name, index_name, column_name, descending FROM "
                                "\"kel.index_columns\" ORDER BY table_name, index_name, position");
        while (rows.step()) {
            catalog::Table* table = tables.find(rows.text(0));
            catalog::Index* index = table ? findNamed(table->indexes, rows.text(1)) : nullptr;
            if (index)
                index->columns.push_back({rows.text(2), bool(rows.integer(3))});
        }
    }
    {
        auto rows = db_.prepare("SELECT table_name, name, clause FROM \"kel.checks\" ORDER BY "
                                "table_name, position");
        while (rows.step())
            if (catalog::Table* table = tables.find(rows.text(0)))
                table->checks.push_back({rows.text(1), rows.text(2)});
    }
    result.tables.push_back(systemObjectsTable());
    {
        auto rows = db_.prepare("SELECT name, table_name, foreign_table, attributes FROM "
                                "\"kel.relations\" ORDER BY name");
        while (rows.step())
            result.relations.push_back(readRelation(rows));
        for (catalog::Relation& relation : result.relations)
            loadFields(relation);
    }
    {
        auto rows = db_.prepare("SELECT name, text, is_procedure FROM \"kel.queries\" ORDER BY "
                                "name");
        while (rows.step()) {
            catalog::Query query;
            query.name = rows.text(0);
            query.text = rows.text(1);
            query.procedure = rows.integer(2);
            result.queries.push_back(std::move(query));
        }
        for (catalog::Query& query : result.queries)
            loadParameters(query);
    }
    return result;
}

std::optional<catalog::Table> CatalogStore::loadTable(std::u16string_view name) {
    if (text::equalsNoCase(name, u"MSysObjects"))
        return systemObjectsTable();
    auto row =
        db_.prepare(std::string("SELECT ") + tableColumns + " FROM \"kel.tables\" WHERE name = ?");
    row.bind(1, name);
    if (!row.step())
        return std::nullopt;
    catalog::Table table = readTable(row);
    loadChildren(table);
    return table;
}

void CatalogStore::loadChildren(catalog::Table& table) {
    auto columns = db_.prepare(std::string("SELECT ") + columnColumns +
                               " FROM \"kel.columns\" WHERE table_name = ? ORDER BY ordinal");
    columns.bind(1, std::u16string_view(table.name));
    while (columns.step())
        table.columns.push_back(readColumn(columns));
    auto properties = db_.prepare("SELECT column_name, name, type, value FROM "
                                  "\"kel.column_properties\" WHERE table_name = ? ORDER BY "
                                  "column_name, position");
    properties.bind(1, std::u16string_view(table.name));
    while (properties.step())
        if (catalog::Column* column = findNamed(table.columns, properties.text(0))) {
            int type = int(properties.integer(2));
            column->properties.push_back({properties.text(1), type, properties.value(3, type)});
        }
    auto indexes = db_.prepare("SELECT name, is_primary, is_unique, nulls, is_foreign FROM "
                               "\"kel.indexes\" WHERE table_name = ? ORDER BY position");
    indexes.bind(1, std::u16string_view(table.name));
    while (indexes.step())
        table.indexes.push_back({indexes.text(0),
                                 bool(indexes.integer(1)),
                                 bool(indexes.integer(2)),
                                 int(indexes.integer(3)),
                                 bool(indexes.integer(4)),
                                 {}});
    auto entries = db_.prepare("SELECT index_name, column_name, descending FROM "
                               "\"kel.index_columns\" WHERE table_name = ? ORDER BY index_name, "
                               "position");
    entries.bind(1, std::u16string_view(table.name));
    while (entries.step())
        if (catalog::Index* index = findNamed(table.indexes, entries.text(0)))
            index->columns.push_back({entries.text(1), bool(entries.integer(2))});
    auto checks = db_.prepare("SELECT name, clause FROM \"kel.checks\" WHERE table_name = ? "
                              "ORDER BY position");
    checks.bind(1, std::u16string_view(table.name));
    while (checks.step())
        table.checks.push_back({checks.text(0), checks.text(1)});
}

catalog::Relation CatalogStore::readRelation(SqliteStatement& row) {
    catalog::Relation relation;
    relation.name = row.text(0);
    relation.table = row.text(1);
    relation.foreignTable = row.text(2);
    relation.attributes = std::int32_t(row.integer(3));
    return relation;
}

void CatalogStore::loadFields(catalog::Relation& relation) {
    auto fields = db_.prepare("SELECT name, foreign_name FROM \"kel.relation_fields\" WHERE "
                              "relation_name = ? ORDER BY position");
    fields.bind(1, std::u16string_view(relation.name));
    while (fields.step())
        relation.fields.push_back({fields.text(0), fields.text(1)});
}

std::vector<catalog::Relation> CatalogStore::relationsOf(std::u16string_view table) {
    auto rows = db_.prepare("SELECT name, table_name, foreign_table, attributes FROM "
                            "\"kel.relations\" WHERE table_name = ?1 OR foreign_table = ?1 "
                            "ORDER BY name");
    rows.bind(1, table);
    std::vector<catalog::Relation> relations;
    while (rows.step())
        relations.push_back(readRelation(rows));
    for (catalog::Relation& relation : relations)
        loadFields(relation);
    return relations;
}

std::optional<catalog::Relation> CatalogStore::loadRelation(std::u16string_view name) {
    auto row = db_.prepare("SELECT name, table_name, foreign_table, attributes FROM "
                           "\"kel.relations\" WHERE name = ?");
    row.bind(1, name);
    if (!row.step())
        return std::nullopt;
    catalog::Relation relation = readRelation(row);
    loadFields(relation);
    return relation;
}

void CatalogStore::loadParameters(catalog::Query& query) {
    auto rows = db_.prepare("SELECT name, type, size, precision, scale FROM "
                            "\"kel.query_parameters\" WHERE query_name = ? ORDER BY position");
    rows.bind(1, std::u16string_view(query.name));
    while (rows.step())
        query.parameters.push_back({rows.text(0), int(rows.integer(1)), int(rows.integer(2)),
                                    int(rows.integer(3)), int(rows.integer(4))});
}

std::optional<catalog::Query> CatalogStore::loadQuery(std::u16string_view name) {
    auto row = db_.prepare("SELECT name, text, is_procedure FROM \"kel.queries\" WHERE name = ?");
    row.bind(1, name);
    if (!row.step())
        return std::nullopt;
    catalog::Query query;
    query.name = row.text(0);
    query.text = row.text(1);
    query.procedure = row.integer(2);
    loadParameters(query);
    return query;
}

void CatalogStore::saveTable(const catalog::Table& table) {
    deleteTable(table.name);
    auto row = db_.prepare(std::string("INSERT INTO \"kel.tables\" (") + tableColumns +
                           ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    row.bind(1, std::u16string_view(table.name))
        .bind(2, std::int64_t(table.kind))
        .bind(3, std::int64_t(table.hidden))
        .bind(4, std::int64_t(table.temporary))
        .bind(5, std::u16string_view(table.linkDatasource))
        .bind(6, std::u16string_view(table.linkProviderString))
        .bind(7, std::u16string_view(table.remoteTableName))
        .bind(8, std::int64_t(table.exclusiveLink))
        .bind(9, std::int64_t(table.savedPassword))
        .bind(10, std::u16string_view(table.validationRule))
        .bind(11, std::u16string_view(table.validationText))
        .run();
    std::u16string_view name = table.name;
    auto column = db_.prepare(std::string("INSERT INTO \"kel.columns\" (") + columnColumns +
                              ", ordinal) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    auto property = db_.prepare("INSERT INTO \"kel.column_properties\" VALUES (?, ?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const catalog::Column& c = table.columns[i];
        column.bind(1, name)
            .bind(2, std::u16string_view(c.name))
            .bind(3, std::int64_t(c.type))
            .bind(4, std::int64_t(c.size))
            .bind(5, std::int64_t(c.precision))
            .bind(6, std::int64_t(c.scale))
            .bind(7, std::int64_t(c.nullable))
            .bind(8, std::int64_t(c.fixedLength))
            .bind(9, std::int64_t(c.autoIncrement))
            .bind(10, std::int64_t(c.compressed))
            .bind(11, std::int64_t(c.allowZeroLength))
            .bindOptional(12, c.defaultValue)
            .bind(13, std::u16string_view(c.validationRule))
            .bind(14, std::u16string_view(c.validationText))
            .bind(15, std::int64_t(i + 1))
            .run();
        column.reset();
        for (std::size_t p = 0; p < c.properties.size(); ++p) {
            property.bind(1, name)
                .bind(2, std::u16string_view(c.name))
                .bind(3, std::int64_t(p))
                .bind(4, std::u16string_view(c.properties[p].name))
                .bind(5, std::int64_t(c.properties[p].type))
                .bindValue(6, c.properties[p].value)
                .run();
            property.reset();
        }
    }
    auto index = db_.prepare("INSERT INTO \"kel.indexes\" VALUES (?, ?, ?, ?, ?, ?, ?)");
    auto entry = db_.prepare("INSERT INTO \"kel.index_columns\" VALUES (?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < table.indexes.size(); ++i) {
        const catalog::Index& x = table.indexes[i];
        index.bind(1, name)
            .bind(2, std::int64_t(i))
            .bind(3, std::u16string_view(x.name))
            .bind(4, std::int64_t(x.primary))
            .bind(5, std::int64_t(x.unique))
            .bind(6, std::int64_t(x.nulls))
            .bind(7, std::int64_t(x.foreign))
            .run();
        index.reset();
        for (std::size_t p = 0; p < x.columns.size(); ++p) {
            entry.bind(1, name)
                .bind(2, std::u16string_view(x.name))
                .bind(3, std::int64_t(p))
                .bind(4, std::u16string_view(x.columns[p].name))
                .bind(5, std::int64_t(x.columns[p].descending))
                .run();
            entry.reset();
        }
    }
    auto check = db_.prepare("INSERT INTO \"kel.checks\" VALUES (?, ?, ?, ?)");
    for (std::size_t i = 0; i < table.checks.size(); ++i) {
        check.bind(1, name)
            .bind(2, std::int64_t(i))
            .bind(3, std::u16string_view(table.checks[i].name))
            .bind(4, std::u16string_view(table.checks[i].clause))
            .run();
        check.reset();
    }
}

void CatalogStore::deleteTable(std::u16string_view name) {
    for (const char* sql : {"DELETE FROM \"kel.tables\" WHERE name = ?",
                            "DELETE FROM \"kel.columns\" WHERE table_name = ?",
                            "DELETE FROM \"kel.column_properties\" WHERE table_name = ?",
                            "DELETE FROM \"kel.indexes\" WHERE table_name = ?",
                            "DELETE FROM \"kel.index_columns\" WHERE table_name = ?",
                            "DELETE FROM \"kel.checks\" WHERE table_name = ?"})
        db_.prepare(sql).bind(1, name).run();
}

void CatalogStore::insertRelation(const catalog::Relation& relation) {
    db_.prepare("INSERT INTO \"kel.relations\" VALUES (?, ?, ?, ?)")
        .bind(1, std::u16string_view(relation.name))
        .bind(2, std::u16string_view(relation.table))
        .bind(3, std::u16string_view(relation.foreignTable))
        .bind(4, std::int64_t(relation.attributes))
        .run();
    auto field = db_.prepare("INSERT INTO \"kel.relation_fields\" VALUES (?, ?, ?, ?)");
    for (std::size_t i = 0; i < relation.fields.size(); ++i) {
        field.bind(1, std::u16string_view(relation.name))
            .bind(2, std::int64_t(i))
            .bind(3, std::u16string_view(relation.fields[i].name))
            .bind(4, std::u16string_view(relation.fields[i].foreignName))
            .run();
        field.reset();
    }
}

void CatalogStore::deleteRelation(std::u16string_view name) {
    db_.prepare("DELETE FROM \"kel.relations\" WHERE name = ?").bind(1, name).run();
    db_.prepare("DELETE FROM \"kel.relation_fields\" WHERE relation_name = ?").bind(1, name).run();
}

void CatalogStore::insertQuery(const catalog::Query& query) {
    db_.prepare("INSERT INTO \"kel.queries\" VALUES (?, ?, ?)")
        .bind(1, std::u16string_view(query.name))
        .bind(2, std::u16string_view(query.text))
        .bind(3, std::int64_t(query.procedure))
        .run();
    auto parameter =
        db_.prepare("INSERT INTO \"kel.query_parameters\" VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < query.parameters.size(); ++i) {
        const catalog::QueryParameter& p = query.parameters[i];
        parameter.bind(1, std::u16string_view(query.name))
            .bind(2, std::int64_t(i))
            .bind(3, std::u16string_view(p.name))
            .bind(4, std::int64_t(p.type))
            .bind(5, std::int64_t(p.size))
            .bind(6, std::int64_t(p.precision))
            .bind(7, std::int64_t(p.scale))
            .run();
        parameter.reset();
    }
}

void CatalogStore::deleteQuery(std::u16string_view name) {
    db_.prepare("DELETE FROM \"kel.queries\" WHERE name = ?").bind(1, name).run();
    db_.prepare("DELETE FROM \"kel.query_parameters\" WHERE query_name = ?").bind(1, name).run();
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

#include "foundation/engine/embedded/SystemObjects.h"

#include "foundation/engine/api/Codes.h"

#include <string>

namespace engine::embedded {

namespace {

catalog::Column systemColumn(const char16_t* name, int type, int size) {
    catalog::Column column;
    column.name = name;
    column.type = type;
    column.size = size;
    return column;
}

std::string number(std::int64_t value) {
    return std::to_string(value);
}

// One row of constants: name, type and flags.
std::string constantRow(const char* name, int type, std::int32_t flags) {
    return std::string("('") + name + "', " + number(type) + ", " + number(flags) + ")";
}

// One SELECT of the objects: name, type, flags, then connect, database, foreign name and
// extra.
std::string part(const std::string& name, const std::string& type, const std::string& flags,
                 const std::string& linksAndExtra, const std::string& from) {
    return "SELECT " + name + ", " + type + ", " + flags + ", " + linksAndExtra + " FROM " + from;
}

// The view's SQL. The catalog keeps each table's Type, Flags and link columns beside its
// definition, written in the same statement. Ids and dates are not kept. Names compare ignoring
// case, as every text of the engine does; the collation is set outside the UNION, where it
// holds for every part.
std::string viewSql() {
    using namespace objecttype;
    const std::string nothing = "NULL, NULL, NULL, NULL";
    std::string documentType = "CASE kind";
    for (int kind :
         {access::objectForm, access::objectReport, access::objectMacro, access::objectModule})
        documentType += " WHEN " + number(kind) + " THEN " + number(*documentObjectType(kind));
    documentType += " END";
    // The system table itself, the database object and the containers of the documents.
    std::string constants = constantRow(systemObjectsName, localTable, objectflag::system);
    constants += ", " + constantRow("MSysDb", databaseObject, 0);
    for (const char* name : {"Databases", "Forms", "Modules", "Relationships", "Reports", "Scripts",
                             "SysRel", "Tables"})
        constants += ", " + constantRow(name, container, 0);

    const std::string parts[] = {
        part("name", "object_type AS type", "object_flags AS flags",
             "link_connect AS connect, link_database AS database, link_foreign_name AS "
             "foreign_name, data_macro AS extra",
             "\"kel.tables\""),
        part("name", number(query), "0", nothing, "\"kel.queries\""),
        part("name", number(relationship), "0", nothing, "\"kel.relations\""),
        part("name", documentType, "0", nothing, "\"kel.documents\""),
        part("column1", "column2", "column3", nothing, "(VALUES " + constants + ")"),
    };
    std::string objects;
    for (const std::string& select : parts)
        objects += (objects.empty() ? "" : " UNION ALL ") + select;
    return std::string("CREATE VIEW \"") + systemObjectsName +
           "\" (Id, ParentId, Name, Type, Flags, DateCreate, DateUpdate, Connect, Database, "
           "ForeignName, LvExtra) AS SELECT NULL, NULL, name COLLATE NOCASE, type, flags, NULL, "
           "NULL, connect COLLATE NOCASE, database COLLATE NOCASE, foreign_name COLLATE NOCASE, "
           "extra FROM (" +
           objects + ")";
}

} // namespace

int systemObjectType(const catalog::Table& table) {
    switch (table.kind) {
    case catalog::TableKind::AccessLink:
        return objecttype::accessLink;
    case catalog::TableKind::OdbcLink:
        return objecttype::odbcLink;
    default:
        return objecttype::localTable;
    }
}

std::int32_t systemObjectFlags(const catalog::Table& table) {
    std::int32_t flags = table.hidden ? objectflag::hidden : 0;
    if (table.kind == catalog::TableKind::System)
        flags |= objectflag::system;
    if (table.kind == catalog::TableKind::AccessSystem)
        flags |= objectflag::accessSystem;
    return flags;
}

std::optional<int> documentObjectType(int accessObjectType) {
    switch (accessObjectType) {
    case access::objectForm:
        return objecttype::form;
    case access::objectReport:
        return objecttype::report;
    case access::objectMacro:
        return objecttype::macro;
    case access::objectModule:
        return objecttype::module;
    default:
        return std::nullopt;
    }
}

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

void createSystemObjects(SqliteDatabase& db) {
    db.exec(viewSql());
    // A view that SQL may change, so that writes reach the authorizer of protectSystemObjects
    // (which refuses them first); a connection without it still meets these refusals.
    for (const char* action : {"INSERT", "UPDATE", "DELETE"})
        db.exec(std::string("CREATE TRIGGER \"kel.") + systemObjectsName + "." + action +
                "\" INSTEAD OF " + action + " ON \"" + systemObjectsName +
                "\" BEGIN SELECT RAISE(ABORT, 'read-only'); END");
}

void protectSystemObjects(SqliteDatabase& db) {
    db.refuseChanges(systemObjectsName);
}

} // namespace engine::embedded

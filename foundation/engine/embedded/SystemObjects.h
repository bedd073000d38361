#pragma once

// MSysObjects, the system table that lists the objects of a database: tables, links, saved
// queries, relationships and the Access application's documents. It is a SQLite view over the
// catalog tables, so its rows agree with the catalog in every transaction; SQL that tries to
// change it fails with the engine's read-only error.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <cstdint>
#include <optional>

namespace engine::embedded {

// The Type codes of MSysObjects rows.
namespace objecttype {
constexpr int localTable = 1;
constexpr int databaseObject = 2;
constexpr int container = 3;
constexpr int odbcLink = 4;
constexpr int query = 5;
constexpr int accessLink = 6;
constexpr int relationship = 8;
constexpr int form = -32768;
constexpr int report = -32764;
constexpr int macro = -32766;
constexpr int module = -32761;
} // namespace objecttype

// The Flags bits of MSysObjects rows.
namespace objectflag {
constexpr std::int32_t system = std::int32_t(0x80000000u);
constexpr std::int32_t accessSystem = 0x2;
constexpr std::int32_t hidden = 0x8;
} // namespace objectflag

// The name of the system table, as SQLite knows the view.
inline constexpr char systemObjectsName[] = "MSysObjects";

// The row a table has in MSysObjects.
int systemObjectType(const catalog::Table& table);
std::int32_t systemObjectFlags(const catalog::Table& table);

// The MSysObjects Type of an Access document type (access::objectForm, ...); nullopt for a
// type that is not a document kept as text.
std::optional<int> documentObjectType(int accessObjectType);

// The table as the catalog shows it: a system table of the columns the view has.
catalog::Table systemObjectsTable();

// Creates the view over the catalog tables (run once, when the database is made).
void createSystemObjects(SqliteDatabase& db);

// From now on every INSERT, UPDATE or DELETE of MSysObjects on the connection fails with
// errors::readOnly(), and so does dropping the view.
void protectSystemObjects(SqliteDatabase& db);

} // namespace engine::embedded

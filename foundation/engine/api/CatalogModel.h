#pragma once

// The schema of one database as plain values: what a backend knows about its tables, columns,
// indexes, constraints, relations and saved queries. The engine builds the ADOX, DAO and
// schema-rowset views of the object model from it, so that a schema reads the same whichever
// backend holds it.

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/api/Variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine::catalog {

// A field property made by CreateProperty: "Format", "DecimalPlaces", "Expression",
// "Caption", ... with its DAO type code.
struct Property {
    std::u16string name;
    int type = daotype::text;
    Variant value;
};

struct Column {
    std::u16string name;
    int type = engine::type::varWChar; // type::attachment for an attachment column
    int size = 0;                      // ADOX DefinedSize
    int precision = 0;                 // Decimal only
    int scale = 0;                     // Decimal only
    bool nullable = true;
    bool fixedLength = false;
    bool autoIncrement = false;
    bool compressed = false;
    bool allowZeroLength = false;
    std::optional<std::u16string> defaultValue; // as written
    std::u16string validationRule;
    std::u16string validationText;
    std::vector<Property> properties;
    // A multi-valued column reads as a memo; this is the type of its values (0 for a column
    // of one value).
    int multiValueType = 0;

    const Property* findProperty(std::u16string_view name) const; // ignoring case
};

struct IndexColumn {
    std::u16string name;
    bool descending = false;
};

struct Index {
    std::u16string name;
    bool primary = false;
    bool unique = false;
    int nulls = adox::indexNullsAllow;
    bool foreign = false; // backs a relation
    std::vector<IndexColumn> columns;
};

struct Check {
    std::u16string name;
    std::u16string clause; // as written between the parentheses of CHECK ( ... )
};

enum class TableKind {
    Local,
    AccessLink,   // linked table of another Access database
    OdbcLink,     // linked ODBC table
    System,       // MSys* tables
    AccessSystem, // the Access application's own hidden tables
};

struct Table {
    std::u16string name;
    TableKind kind = TableKind::Local;
    bool hidden = false;
    bool temporary = false;
    std::u16string linkDatasource;     // Access link: the linked database file
    std::u16string linkProviderString; // ODBC link: the connect text without "ODBC;"
    std::u16string remoteTableName;    // links: the table's name in its own database
    bool exclusiveLink = false;
    bool savedPassword = false;
    std::u16string validationRule;
    std::u16string validationText;
    std::vector<Column> columns; // in their order
    std::vector<Index> indexes;
    std::vector<Check> checks;

    const Column* findColumn(std::u16string_view name) const; // ignoring case
    const Index* findIndex(std::u16string_view name) const;   // ignoring case
};

struct RelationField {
    std::u16string name;        // the referenced column
    std::u16string foreignName; // the referencing column
};

// A relationship, and so a foreign key of its foreign table.
struct Relation {
    std::u16string name;
    std::u16string table;        // the referenced (primary) table
    std::u16string foreignTable; // the referencing table
    std::int32_t attributes = 0; // dao::relation... bits
    std::vector<RelationField> fields;
};

struct QueryParameter {
    std::u16string name;
    int type = engine::type::varWChar;
    int size = 0;
    int precision = 0;
    int scale = 0;
};

// A saved query: a view, or a procedure (parameters, or an action query).
struct Query {
    std::u16string name;
    std::u16string text; // as stored
    bool procedure = false;
    std::vector<QueryParameter> parameters;
};

struct Catalog {
    std::vector<Table> tables;
    std::vector<Relation> relations;
    std::vector<Query> queries;

    const Table* findTable(std::u16string_view name) const; // ignoring case
};

// The DAO TableDef Attributes of a table.
std::int32_t daoAttributes(const Table& table);

} // namespace engine::catalog

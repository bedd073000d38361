#pragma once

// The Access DDL statements the embedded engine executes, as the parser hands them over.

#include "foundation/engine/api/CatalogModel.h"

#include <string>
#include <variant>
#include <vector>

namespace engine::embedded::ddl {

struct DeclaredType {
    int type = engine::type::varWChar;
    int size = 0;
    int precision = 0;
    int scale = 0;
    bool autoIncrement = false;
    bool fixedLength = false;
};

struct References {
    std::u16string table;
    std::vector<std::u16string> columns; // empty: the referenced table's primary key
    int updateRule = adox::ruleNone;
    int deleteRule = adox::ruleNone;
    bool noIndex = false;
    bool unique = false; // one to one
};

struct Constraint {
    enum class Kind { PrimaryKey, Unique, ForeignKey, Check };
    Kind kind = Kind::PrimaryKey;
    std::u16string name; // empty when the statement gave none
    // Only a PRIMARY KEY or UNIQUE column may be descending.
    std::vector<catalog::IndexColumn> columns;
    References references;
    std::u16string clause; // CHECK: as written between its parentheses
};

enum class DefaultClause {
    Absent, // no DEFAULT
    Empty,  // DEFAULT with nothing after it: no default
    Given,
};

struct ColumnDefinition {
    std::u16string name;
    DeclaredType type;
    bool compressed = false;
    bool notNull = false;
    DefaultClause defaultClause = DefaultClause::Absent;
    std::u16string defaultText; // as written
    std::vector<Constraint> constraints;
};

struct CreateTable {
    std::u16string name;
    std::vector<ColumnDefinition> columns;
    std::vector<Constraint> constraints;
};

struct AddColumns {
    std::u16string table;
    std::vector<ColumnDefinition> columns;
};

struct AlterColumn {
    std::u16string table;
    ColumnDefinition column;
};

struct DropColumns {
    std::u16string table;
    std::vector<std::u16string> columns;
};

struct AddConstraint {
    std::u16string table;
    Constraint constraint;
};

struct DropConstraint {
    std::u16string table;
    std::u16string name;
};

struct CreateIndex {
    std::u16string name;
    std::u16string table;
    bool unique = false;
    bool primary = false;
    int nulls = adox::indexNullsAllow;
    std::vector<catalog::IndexColumn> columns;
};

struct DropIndex {
    std::u16string name;
    std::u16string table;
};

struct DropTable {
    std::u16string name;
};

// DROP VIEW and DROP PROCEDURE.
struct DropQuery {
    std::u16string name;
};

// CREATE VIEW and CREATE PROCEDURE: the query text as it is stored.
struct CreateQuery {
    std::u16string name;
    std::u16string text;
};

using Statement =
    std::variant<CreateTable, AddColumns, AlterColumn, DropColumns, AddConstraint, DropConstraint,
                 CreateIndex, DropIndex, DropTable, DropQuery, CreateQuery>;

} // namespace engine::embedded::ddl

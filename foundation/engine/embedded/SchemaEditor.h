#pragma once

// Changes the schema of an embedded database: the DDL statements and the catalog writes of
// the object model. Each change checks what the engine checks (names, existing objects, keys,
// relationships, the rows already there), and updates the catalog tables and the data table of
// the table it changes. The caller runs each change in one transaction with foreign key
// enforcement off, so that a failure leaves nothing behind.

#include "foundation/engine/embedded/CatalogStore.h"
#include "foundation/engine/embedded/DataTables.h"
#include "foundation/engine/embedded/Ddl.h"

namespace engine::embedded {

class SchemaEditor {
public:
    SchemaEditor(SqliteDatabase& db, CatalogStore& store) : store_(store), data_(db) {}

    void execute(const ddl::Statement& statement);

    void alterColumn(const std::u16string& table, const std::u16string& column,
                     const catalog::Column& definition);
    void appendColumn(const std::u16string& table, const catalog::Column& definition);
    void dropColumn(const std::u16string& table, const std::u16string& column);
    void appendTable(const catalog::Table& table);
    void alterTable(const std::u16string& table, const catalog::Table& definition);
    void appendRelation(const catalog::Relation& relation);
    void dropRelation(const std::u16string& name);
    void appendQuery(const std::u16string& name, const std::u16string& text);

    // One table on its way from `before` to `after`, with the relations that reference from
    // it and those made or removed on the way.
    struct Edit {
        catalog::Table before;
        catalog::Table after;
        std::vector<catalog::Relation> relationsBefore; // the table references through these
        std::vector<catalog::Relation> relationsAfter;
        std::vector<catalog::Relation> added;
        std::vector<std::u16string> removed;
        std::vector<std::pair<std::u16string, std::u16string>> renamed; // new name, old name
    };

private:
    void createTable(const ddl::CreateTable& statement);
    void addColumns(const ddl::AddColumns& statement);
    void alterColumn(const ddl::AlterColumn& statement);
    void dropColumns(const ddl::DropColumns& statement);
    void addConstraint(const ddl::AddConstraint& statement);
    void dropConstraint(const ddl::DropConstraint& statement);
    void createIndex(const ddl::CreateIndex& statement);
    void dropIndex(const ddl::DropIndex& statement);
    void dropTable(const ddl::DropTable& statement);
    void dropQuery(const ddl::DropQuery& statement);

    Edit beginEdit(const std::u16string& table);
    void commit(Edit& edit);
    void addConstraint(Edit& edit, const ddl::Constraint& constraint);
    void addForeignKey(Edit& edit, const ddl::Constraint& constraint, const std::u16string& name);
    void addRelation(Edit& edit, catalog::Relation relation, bool withIndex, bool uniqueIndex);
    void removeColumn(Edit& edit, const std::u16string& column);
    void checkNewName(std::u16string_view name, bool table);

    CatalogStore& store_;
    DataTables data_;
};

} // namespace engine::embedded

#pragma once

// Changes a schema: the DDL statements and the catalog writes of the object model. Each change
// checks what the engine checks (names, existing objects, keys, relationships) against the
// store, works out the catalog before and after, and hands that to the store to commit. The
// caller runs each change as one unit of its store, so that a failure leaves nothing behind.

#include "foundation/engine/embedded/Ddl.h"
#include "foundation/engine/embedded/SchemaStore.h"

namespace engine::embedded {

class SchemaEditor {
public:
    explicit SchemaEditor(SchemaStore& store) : store_(store) {}

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

    TableEdit beginEdit(const std::u16string& table);
    void commit(TableEdit& edit);
    void addConstraint(TableEdit& edit, const ddl::Constraint& constraint);
    void addForeignKey(TableEdit& edit, const ddl::Constraint& constraint,
                       const std::u16string& name);
    void addRelation(TableEdit& edit, catalog::Relation relation, bool withIndex, bool uniqueIndex);
    void removeColumn(TableEdit& edit, const std::u16string& column);
    void checkNewName(std::u16string_view name, bool table);

    SchemaStore& store_;
};

} // namespace engine::embedded

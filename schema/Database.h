#pragma once

// The structure of one whole database, as the schema reader found it. It owns every
// element; keys and indexes refer to tables and fields of the same database.

#include "schema/AccessDocument.h"
#include "schema/Table.h"
#include "schema/TableLinked.h"
#include "schema/View.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Database {
public:
    // name: the database path the user entered.
    explicit Database(std::u16string name) : name_(std::move(name)) {}
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Appends; a later table whose name differs only in the case of A-Z takes over the
    // lookup by name, and both stay in the list.
    Table& addTable(std::unique_ptr<Table> table);
    void addLinkedTable(std::unique_ptr<TableLinkedAccess> table);
    // Views and procedures share one list in the order they are added.
    void addView(std::unique_ptr<View> view);
    void addProcedure(std::unique_ptr<Procedure> procedure);
    void addForm(std::unique_ptr<Entity::Form> form);
    void addMacro(std::unique_ptr<Entity::Macro> macro);
    void addModule(std::unique_ptr<Entity::Module> module);
    void addReport(std::unique_ptr<Entity::Report> report);

    // Ignores the case of A-Z only; other letters must match exactly.
    Table* findTable(std::u16string_view name) const;

    const std::u16string& name() const { return name_; }
    const std::vector<std::unique_ptr<Table>>& tables() const { return tables_; }
    const std::vector<std::unique_ptr<TableLinkedAccess>>& linkedTables() const {
        return linkedTables_;
    }
    const std::vector<std::unique_ptr<View>>& viewsAndProcedures() const {
        return viewsAndProcedures_;
    }
    const std::vector<std::unique_ptr<Entity::Form>>& forms() const { return forms_; }
    const std::vector<std::unique_ptr<Entity::Macro>>& macros() const { return macros_; }
    const std::vector<std::unique_ptr<Entity::Module>>& modules() const { return modules_; }
    const std::vector<std::unique_ptr<Entity::Report>>& reports() const { return reports_; }

private:
    std::vector<std::unique_ptr<Table>> tables_;
    std::vector<std::unique_ptr<TableLinkedAccess>> linkedTables_;
    // Lower-cased name to table; owns nothing.
    std::map<std::u16string, Table*, std::less<>> tableIndex_;
    std::vector<std::unique_ptr<View>> viewsAndProcedures_;
    std::u16string name_;
    std::vector<std::unique_ptr<Entity::Form>> forms_;
    std::vector<std::unique_ptr<Entity::Macro>> macros_;
    std::vector<std::unique_ptr<Entity::Module>> modules_;
    std::vector<std::unique_ptr<Entity::Report>> reports_;
};

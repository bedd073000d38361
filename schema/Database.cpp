#include "schema/Database.h"

#include "foundation/text/WideString.h"

Database::~Database() {
    // Tables with everything they own first, then the other lists in their order.
    tableIndex_.clear();
    tables_.clear();
    linkedTables_.clear();
    viewsAndProcedures_.clear();
    forms_.clear();
    macros_.clear();
    modules_.clear();
    reports_.clear();
}

Table& Database::addTable(std::unique_ptr<Table> table) {
    Table& added = *tables_.emplace_back(std::move(table));
    tableIndex_.insert_or_assign(text::asciiLower(added.name()), &added);
    return added;
}

void Database::addLinkedTable(std::unique_ptr<TableLinkedAccess> table) {
    linkedTables_.push_back(std::move(table));
}

void Database::addView(std::unique_ptr<View> view) {
    viewsAndProcedures_.push_back(std::move(view));
}

void Database::addProcedure(std::unique_ptr<Procedure> procedure) {
    viewsAndProcedures_.push_back(std::move(procedure));
}

void Database::addForm(std::unique_ptr<Entity::Form> form) {
    forms_.push_back(std::move(form));
}

void Database::addMacro(std::unique_ptr<Entity::Macro> macro) {
    macros_.push_back(std::move(macro));
}

void Database::addModule(std::unique_ptr<Entity::Module> module) {
    modules_.push_back(std::move(module));
}

void Database::addReport(std::unique_ptr<Entity::Report> report) {
    reports_.push_back(std::move(report));
}

Table* Database::findTable(std::u16string_view name) const {
    auto found = tableIndex_.find(text::asciiLower(name));
    return found == tableIndex_.end() ? nullptr : found->second;
}

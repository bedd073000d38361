#pragma once

// Small builders for in-memory schemas, shared by the tests of the comparison and of the
// texts written about it.

#include "schema/AccessDataTypeName.h"
#include "schema/Database.h"
#include "schema/EmptyElement.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fixture {

inline std::unique_ptr<Database> database(std::u16string path) {
    return std::make_unique<Database>(std::move(path));
}

inline Table& table(Database& database, std::u16string name) {
    return database.addTable(std::make_unique<Table>(std::move(name)));
}

// A field with the given properties; the name goes in properties.name.
inline Field& field(Table& table, Field::Properties properties) {
    return table.addField(std::make_unique<Field>(table, std::move(properties)));
}

inline Field& textField(Table& table, std::u16string name, int length = 50) {
    return field(table, {.name = std::move(name), .type = 202, .length = length, .nullable = true});
}

inline Index& index(Table& table, std::u16string name,
                    std::initializer_list<const char16_t*> columns, bool primary = false,
                    bool unique = false, int nulls = 0) {
    auto added = std::make_unique<Index>(table, std::move(name), primary, unique, nulls);
    for (const char16_t* column : columns)
        added->addColumn(*table.findField(column));
    return table.addIndex(std::move(added));
}

struct KeyShape {
    std::u16string name;
    int type = Key::Primary;
    std::u16string relatedTable{};
    std::vector<std::pair<const char16_t*, const char16_t*>> columns{};
    int deleteRule = Key::RuleNone;
    int updateRule = Key::RuleNone;
    bool notEnforced = false;
};

inline Key& key(Table& table, KeyShape wanted) {
    auto added =
        std::make_unique<Key>(table, wanted.name, wanted.relatedTable, wanted.type,
                              wanted.deleteRule, wanted.updateRule, wanted.notEnforced, false);
    for (auto [column, related] : wanted.columns)
        added->addColumn(column, related ? related : u"");
    return table.addKey(std::move(added));
}

inline CheckConstraint& check(Table& table, std::u16string name, std::u16string clause) {
    return table.addCheckConstraint(
        std::make_unique<CheckConstraint>(std::move(name), table.name(), std::move(clause)));
}

inline Entity::AbstractAccessDocument::Bytes bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

inline TableDataMacro& dataMacro(Table& table, std::string_view content) {
    table.setTableDataMacro(std::make_unique<TableDataMacro>(table.name(), bytes(content)));
    return *table.tableDataMacro();
}

} // namespace fixture

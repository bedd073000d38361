#pragma once

// Short ways to build schema elements in memory for the script tests.

#include "foundation/text/WideString.h"
#include "schema/Table.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace testing_schema {

inline constexpr int Long = 3;
inline constexpr int Double = 5;
inline constexpr int DateTime = 7;
inline constexpr int Character = 130;
inline constexpr int Decimal = 131;
inline constexpr int Text = 202;
inline constexpr int Memo = 203;
inline constexpr int Attachment = 101;

inline Field& addField(Table& table, Field::Properties properties) {
    return table.addField(std::make_unique<Field>(table, std::move(properties)));
}

// A nullable column of a type, the common case.
inline Field& addColumn(Table& table, std::u16string name, int type, int length = 0) {
    return addField(table,
                    {.name = std::move(name), .type = type, .length = length, .nullable = true});
}

inline Index& addIndex(Table& table, std::u16string name,
                       std::initializer_list<const char16_t*> columns, bool primary = false,
                       bool unique = false, int nulls = 0) {
    auto index = std::make_unique<Index>(table, std::move(name), primary, unique, nulls);
    for (const char16_t* column : columns)
        index->addColumn(*table.findField(column));
    return table.addIndex(std::move(index));
}

inline Key& addKey(Table& table, std::u16string name, int type,
                   std::initializer_list<const char16_t*> columns) {
    auto key =
        std::make_unique<Key>(table, std::move(name), std::u16string(), type, 0, 0, false, false);
    for (const char16_t* column : columns)
        key->addColumn(column, {});
    return table.addKey(std::move(key));
}

struct ForeignKeyOptions {
    int deleteRule = 0;
    int updateRule = 0;
    bool notEnforced = false;
    bool oneToOne = false;
};

inline Key& addForeignKey(Table& table, std::u16string name, std::u16string relatedTable,
                          std::initializer_list<std::pair<const char16_t*, const char16_t*>> pairs,
                          ForeignKeyOptions options = {}) {
    auto key = std::make_unique<Key>(table, std::move(name), std::move(relatedTable), Key::Foreign,
                                     options.deleteRule, options.updateRule, options.notEnforced,
                                     options.oneToOne);
    for (const auto& [column, related] : pairs)
        key->addColumn(column, related);
    return table.addKey(std::move(key));
}

inline CheckConstraint& addCheck(Table& table, std::u16string name, std::u16string clause) {
    return table.addCheckConstraint(
        std::make_unique<CheckConstraint>(std::move(name), table.name(), std::move(clause)));
}

inline std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

} // namespace testing_schema

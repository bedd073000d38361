#pragma once

// A primary key, a unique key or a relationship (foreign key). A relationship belongs to the
// referencing table; the table it references is resolved after reading, and may be missing.

#include "schema/Element.h"

#include <string>
#include <string_view>
#include <vector>

class Field;
class Table;

struct KeyColumn {
    std::u16string column;        // a column of the key's table
    std::u16string relatedColumn; // the matching column of the related table; empty unless foreign
    bool descending = false;      // primary and unique keys only
};

class Key final : public Element {
public:
    // Key types (the engine's KeyTypeEnum).
    static constexpr int Primary = 1;
    static constexpr int Foreign = 2;
    static constexpr int Unique = 3;
    // Update and delete rules (the engine's RuleEnum).
    static constexpr int RuleNone = 0;
    static constexpr int RuleCascade = 1;
    static constexpr int RuleSetNull = 2;
    static constexpr int RuleSetDefault = 3;

    // Flags the comparison writes. The columns flag is only ever cleared.
    struct Same {
        bool relatedTable = false;
        bool columns = false;
        bool type = false;
        bool deleteRule = false;
        bool updateRule = false;
    };

    Key(Table& table, std::u16string name, std::u16string relatedTableName, int type,
        int deleteRule, int updateRule, bool notEnforced, bool oneToOne);

    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Key; }

    Table& table() const { return *table_; }
    // Null until resolved, and when the related table is not in the database.
    Table* relatedTable() const { return relatedTable_; }
    void setRelatedTable(Table* table) { relatedTable_ = table; }
    // Empty for primary and unique keys.
    const std::u16string& relatedTableName() const { return relatedTableName_; }
    int type() const { return type_; }
    int deleteRule() const { return deleteRule_; }
    int updateRule() const { return updateRule_; }
    bool isNotEnforced() const { return notEnforced_; }
    bool isOneToOne() const { return oneToOne_; }

    void addColumn(std::u16string column, std::u16string relatedColumn, bool descending = false);
    const std::vector<KeyColumn>& columns() const { return columns_; }
    // Whether a column of the key has this name, ignoring the case of A-Z.
    bool hasColumn(std::u16string_view name) const;
    // The table's fields named by the key's columns, in key order; names without a field
    // are left out.
    std::vector<Field*> fields() const;

    // "Primary", "Cascade Delete", "Null Update"...; empty for values outside 1 to 3.
    std::u16string_view typeText() const;
    std::u16string_view deleteRuleText() const;
    std::u16string_view updateRuleText() const;
    // "a, b DESC", or for a foreign key "a->Related.x, b->Related.y".
    std::u16string columnsText() const;

    const Same& same() const { return same_; }
    Same& same() { return same_; }

private:
    Table* table_;
    Table* relatedTable_ = nullptr;
    std::u16string relatedTableName_;
    bool notEnforced_;
    bool oneToOne_;
    std::vector<KeyColumn> columns_;
    int type_;
    int deleteRule_;
    int updateRule_;
    Same same_;
};

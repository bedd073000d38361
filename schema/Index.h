#pragma once

// An index of a table. Its columns are the table's own fields, referred to, not owned.

#include "schema/Element.h"

#include <string>
#include <string_view>
#include <vector>

class Field;
class Table;

// What the columns text of an index or key writes after a column kept in descending order.
inline constexpr std::u16string_view descendingMark = u" DESC";

class Index final : public Element {
public:
    // Flags the comparison writes. The columns flag stays false: index columns are always
    // shown.
    struct Same {
        bool primary = false;
        bool unique = false;
        bool nulls = false;
        bool columns = false;
    };

    // nulls is the engine's IndexNullsEnum: 0 allow, 1 disallow, 2 ignore, 4 ignore any.
    Index(Table& table, std::u16string name, bool primaryKey, bool unique, int nulls);

    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Index; }

    Table& table() const { return *table_; }
    bool isPrimaryKey() const { return primaryKey_; }
    bool isUnique() const { return unique_; }
    int nulls() const { return nulls_; }

    // The field must belong to the index's table.
    void addColumn(Field& field, bool descending = false);
    const std::vector<Field*>& columns() const { return columns_; }
    // Whether the index keeps its column at this position in descending order.
    bool isDescending(std::size_t position) const { return descending_[position]; }
    // "a, b DESC, c"
    std::u16string columnsText() const;

    const Same& same() const { return same_; }
    Same& same() { return same_; }

private:
    Table* table_;
    bool primaryKey_;
    bool unique_;
    int nulls_;
    std::vector<Field*> columns_;
    std::vector<bool> descending_; // one per column
    Same same_;
};

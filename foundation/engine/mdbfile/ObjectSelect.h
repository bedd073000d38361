#pragma once

// The SELECT statements a read-only Access file answers: over one table of rows (MSysObjects),
// with a column list or *, a WHERE condition (comparisons, IsNull, IS [NOT] NULL, LIKE, AND,
// OR, NOT, parentheses, "?" parameters) and ORDER BY. Enough for listing the objects of a
// database the way Access tools do: "SELECT Name FROM MSysObjects WHERE Type=-32768".

#include "foundation/engine/mdbfile/FileSnapshot.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine::mdbfile {

struct Condition; // a parsed WHERE expression

struct SelectItem {
    std::u16string column; // empty for *
    std::u16string alias;
};

struct OrderItem {
    std::u16string column;
    bool descending = false;
};

struct SelectStatement {
    bool distinct = false;
    std::vector<SelectItem> items;
    std::u16string table;
    std::shared_ptr<const Condition> where; // null without WHERE
    std::vector<OrderItem> orderBy;
};

// Throws EngineError (syntax error) on anything else than the statements above.
SelectStatement parseSelect(std::u16string_view sql);

// The statement's rows from the table; parameters replace the "?" marks in order. Throws
// EngineError for an unknown column, a missing parameter or values that cannot be compared.
RowSet runSelect(const SelectStatement& statement, const RowSet& table,
                 const std::vector<Variant>& parameters);

} // namespace engine::mdbfile

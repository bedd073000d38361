#pragma once

// The rules every row of a table must pass once a statement has written it: the validation
// rule of each column, the table's validation rule and its CHECK constraints. A row fails a
// rule only when the rule is false (not when it is null). A rule that does not translate into
// SQLite is left out rather than refusing rows for it.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <cstdint>
#include <string>
#include <vector>

namespace engine::embedded {

struct RowRule {
    std::string condition; // SQLite, over the table's data table
    std::u16string message;
};

class RowRules {
public:
    RowRules(SqliteDatabase& db, const catalog::Table& table, const catalog::Catalog& catalog);

    bool empty() const { return rules_.empty(); }
    const std::vector<RowRule>& rules() const { return rules_; }

    // Throws the message of the first rule that the first failing row breaks.
    void check(const std::vector<std::int64_t>& rowids);

private:
    SqliteDatabase& db_;
    std::u16string table_;
    std::vector<RowRule> rules_;
};

} // namespace engine::embedded

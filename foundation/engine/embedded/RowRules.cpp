#include "foundation/engine/embedded/RowRules.h"

#include "foundation/engine/embedded/DmlTranslator.h"

namespace engine::embedded {

namespace {

std::u16string prohibited(std::u16string_view rule, std::u16string_view owner) {
    return u"One or more values are prohibited by the validation rule '" + std::u16string(rule) +
           u"' set for '" + std::u16string(owner) +
           u"'. Enter a value that the expression for this field can accept.";
}

} // namespace

RowRules::RowRules(SqliteDatabase& db, const catalog::Table& table, const catalog::Catalog& catalog)
    : db_(db), table_(table.name) {
    std::string from = " FROM " + quoteIdentifier(table.name);
    auto add = [&](std::u16string_view rule, std::u16string_view column, std::u16string message) {
        try {
            std::string condition = translateCondition(rule, catalog, column);
            db_.prepare("SELECT " + condition + from); // names and functions must resolve
            rules_.push_back({condition, std::move(message)});
        } catch (const EngineError&) {
            // Not enforced: the engine cannot evaluate this rule.
        }
    };
    for (const catalog::Column& column : table.columns)
        if (!column.validationRule.empty())
            add(column.validationRule, column.name,
                !column.validationText.empty()
                    ? column.validationText
                    : prohibited(column.validationRule, table.name + u"." + column.name));
    if (!table.validationRule.empty())
        add(table.validationRule, {},
            !table.validationText.empty() ? table.validationText
                                          : prohibited(table.validationRule, table.name));
    for (const catalog::Check& check : table.checks)
        add(check.clause, {}, prohibited(check.name, table.name));
}

void RowRules::check(const std::vector<std::int64_t>& rowids) {
    if (rules_.empty() || rowids.empty())
        return;
    std::string sql = "SELECT CASE";
    for (std::size_t i = 0; i < rules_.size(); ++i)
        sql += " WHEN NOT (" + rules_[i].condition + ") THEN " + std::to_string(i + 1);
    sql += " ELSE 0 END FROM " + quoteIdentifier(table_) + " WHERE rowid = ?1";
    SqliteStatement statement = db_.prepare(sql);
    for (std::int64_t rowid : rowids) {
        statement.bind(1, rowid);
        std::int64_t broken = statement.step() ? statement.integer(0) : 0;
        statement.reset();
        if (broken > 0)
            throw EngineError(status::unspecified, rules_[std::size_t(broken - 1)].message);
    }
}

} // namespace engine::embedded

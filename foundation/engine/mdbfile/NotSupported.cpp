#include "foundation/engine/mdbfile/NotSupported.h"

#include "foundation/engine/mdbfile/ObjectSelect.h"
#include "foundation/engine/mdbfile/StatementWords.h"
#include "foundation/text/WideString.h"

#include <algorithm>

namespace engine::mdbfile {

namespace {

using embedded::ddl::Constraint;

std::optional<std::u16string> unsupportedConstraint(const std::vector<Constraint>& constraints,
                                                    std::u16string_view statement) {
    for (const Constraint& constraint : constraints) {
        if (constraint.kind == Constraint::Kind::ForeignKey)
            return std::u16string(statement) + u" with a FOREIGN KEY constraint";
        if (constraint.kind == Constraint::Kind::Check)
            return std::u16string(statement) + u" with a CHECK constraint";
    }
    return std::nullopt;
}

std::optional<std::u16string>
unsupportedColumns(const std::vector<embedded::ddl::ColumnDefinition>& columns,
                   std::u16string_view statement) {
    for (const auto& column : columns)
        if (auto part = unsupportedConstraint(column.constraints, statement))
            return part;
    return std::nullopt;
}

// "CREATE VIEW", "DROP PROCEDURE": the statement's first two words.
std::u16string queryStatement(std::u16string_view sql) {
    std::vector<std::u16string> words = statementWords(sql);
    if (words.size() < 2)
        return u"A saved query";
    return words[0] + u" " + words[1];
}

} // namespace

EngineError notSupported(std::u16string_view what) {
    return {status::unspecified, std::u16string(what) + u" is not supported on Access files yet."};
}

std::optional<std::u16string> unsupportedPart(const embedded::ddl::Statement& statement,
                                              std::u16string_view sql) {
    namespace ddl = embedded::ddl;
    return std::visit(
        [&](const auto& s) -> std::optional<std::u16string> {
            using T = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<T, ddl::CreateTable>) {
                if (auto part = unsupportedColumns(s.columns, u"CREATE TABLE"))
                    return part;
                return unsupportedConstraint(s.constraints, u"CREATE TABLE");
            } else if constexpr (std::is_same_v<T, ddl::AddColumns>) {
                return unsupportedColumns(s.columns, u"ALTER TABLE ADD COLUMN");
            } else if constexpr (std::is_same_v<T, ddl::AddConstraint>) {
                return unsupportedConstraint({s.constraint}, u"ALTER TABLE ADD CONSTRAINT");
            } else if constexpr (std::is_same_v<T, ddl::AlterColumn>) {
                return u"ALTER COLUMN";
            } else if constexpr (std::is_same_v<T, ddl::CreateQuery> ||
                                 std::is_same_v<T, ddl::DropQuery>) {
                return queryStatement(sql);
            } else {
                return std::nullopt;
            }
        },
        statement);
}

std::optional<std::u16string> unsupportedQuery(std::u16string_view sql,
                                               const catalog::Catalog& catalog) {
    std::vector<std::u16string> words = statementWords(sql);
    if (words.empty())
        return std::nullopt;
    if (words[0] != u"SELECT")
        return words[0];
    if (std::find(words.begin(), words.end(), u"INTO") != words.end())
        return u"SELECT ... INTO";
    std::optional<SelectStatement> select;
    try {
        select = parseSelect(sql);
    } catch (const EngineError&) {
        // Expressions, joins, functions: beyond the object list's simple selects.
        return u"This form of SELECT";
    }
    if (!text::equalsNoCase(select->table, u"MSysObjects") && catalog.findTable(select->table))
        return u"SELECT of a table's rows";
    return std::nullopt;
}

} // namespace engine::mdbfile

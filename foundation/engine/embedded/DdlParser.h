#pragma once

// Parses one Access DDL statement. Keywords and type names match in any letter case; names may
// be bare or quoted; the type synonyms of the engine are accepted. A statement that does not
// parse throws EngineError with the engine's wording ("Syntax error in CREATE TABLE
// statement.", "Syntax error in field definition.", ...).

#include "foundation/engine/embedded/Ddl.h"

#include <optional>
#include <string_view>

namespace engine::embedded {

// True when the statement starts with a word that begins a query or data change (SELECT,
// INSERT, UPDATE, DELETE, PARAMETERS, TRANSFORM) rather than DDL.
bool isDataStatement(std::u16string_view sql);
// True when the statement starts with SELECT or TRANSFORM: it reads rows and changes none.
bool isPlainQuery(std::u16string_view sql);

ddl::Statement parseDdl(std::u16string_view sql);

// The parameters of a "PARAMETERS name type, ...;" clause at the start of a query text, and
// the text after it; nullopt when the text has no such clause. Throws on a malformed clause.
struct ParametersClause {
    std::vector<catalog::QueryParameter> parameters;
    std::u16string body;
};
std::optional<ParametersClause> parseParametersClause(std::u16string_view text);

} // namespace engine::embedded

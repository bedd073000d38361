#pragma once

// The words of an SQL statement, enough to tell what kind of statement it is without parsing it.

#include <string>
#include <string_view>
#include <vector>

namespace engine::mdbfile {

// The statement's words outside quotes and brackets, upper-cased.
std::vector<std::u16string> statementWords(std::u16string_view sql);

// Whether the statement would change the database: INSERT, UPDATE, DELETE, DDL, SELECT ... INTO.
bool changesData(const std::vector<std::u16string>& words);

} // namespace engine::mdbfile

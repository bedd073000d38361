#pragma once

// Which table definitions a freshly created table's definition can be compared with, and the
// fields in which two definitions of one structure differ: counters, page numbers, usage-map
// pointers and the bytes Access leaves as they were in memory aside.

#include "foundation/engine/jetfile/TableDefinition.h"

#include <string>
#include <vector>

namespace jettest {

std::string narrow(const std::u16string& text);

// Why the definition cannot be compared with a new table's: what it shows of changes made
// after the table was created, or parts no TableDesign describes. Empty when there is none.
std::string history(const engine::jetfile::TableDefinition& t);
// The part of history() that concerns indexes alone.
std::string indexHistory(const engine::jetfile::TableDefinition& t);

// The fields in which a definition differs from the one Access wrote (real), by name; which
// bytes are left undefined is read from the real one.
std::vector<std::string> differences(const engine::jetfile::TableDefinition& made,
                                     const engine::jetfile::TableDefinition& real);
// The differences as one line: " [field] [field]".
std::string listed(const std::vector<std::string>& fields);

} // namespace jettest

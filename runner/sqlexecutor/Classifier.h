#pragma once

// Recognises the dialect's extended statements and builds their commands; everything else
// becomes a plain SQLCommand for the engine to judge.

#include "runner/sqlexecutor/OriginalText.h"
#include "runner/sqlexecutor/SQLCommand.h"

#include <memory>

namespace SQLExecutor {

std::unique_ptr<SQLCommand> classifyStatement(std::u16string statement, std::int64_t line);
// The same for a statement the parser joined from original lines: a saved query's text is
// taken from them with its line breaks.
std::unique_ptr<SQLCommand> classifyStatement(std::u16string statement, std::int64_t line,
                                              const OriginalText& original);

} // namespace SQLExecutor

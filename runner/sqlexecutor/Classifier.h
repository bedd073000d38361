#pragma once

// Recognises the dialect's extended statements and builds their commands; everything else
// becomes a plain SQLCommand for the engine to judge.

#include "runner/sqlexecutor/SQLCommand.h"

#include <memory>

namespace SQLExecutor {

std::unique_ptr<SQLCommand> classifyStatement(std::u16string statement, std::int64_t line);

} // namespace SQLExecutor

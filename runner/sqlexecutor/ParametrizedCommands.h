#pragma once

// INSERT and UPDATE statements whose values the engine's SQL cannot write literally (text
// built with chr(), base64 data, the special numbers). They are rewritten into SQL with "?"
// placeholders and the values are collected as parameters, bound in order.

#include "runner/sqlexecutor/SQLCommand.h"
#include "runner/sqlexecutor/ValueScanner.h"

#include <vector>

namespace SQLExecutor {

class SQLParametrizedCommand : public SQLCommand {
public:
    // Fails with the rewrite error when the statement could not be rewritten; otherwise
    // hands the command to the executor.
    void execute(IExecutor& executor) const override;

    const std::u16string& sql() const { return sql_; }
    const std::vector<Parameter>& parameters() const { return parameters_; }
    // Why the statement could not be rewritten; empty when it was.
    const std::u16string& rewriteError() const { return rewriteError_; }

protected:
    using SQLCommand::SQLCommand;

    std::u16string sql_;
    std::vector<Parameter> parameters_;
    std::u16string rewriteError_;
};

class SQLCommandInsertChr : public SQLParametrizedCommand {
public:
    // table as written (brackets kept), the column list and the value list between the
    // parentheses.
    SQLCommandInsertChr(std::u16string text, std::int64_t line, const std::u16string& table,
                        const std::u16string& columns, const std::u16string& values);
};

class SQLCommandUpdate : public SQLParametrizedCommand {
public:
    SQLCommandUpdate(std::u16string text, std::int64_t line, const std::u16string& table,
                     const std::u16string& assignments, const std::u16string& condition);
};

} // namespace SQLExecutor

#include "runner/sqlexecutor/ParametrizedCommands.h"

#include "runner/sqlexecutor/CommandError.h"
#include "runner/sqlexecutor/IExecutor.h"

namespace SQLExecutor {

void SQLParametrizedCommand::execute(IExecutor& executor) const {
    if (!rewriteError_.empty())
        throw CommandError(rewriteError_);
    executor.execute(*this);
}

SQLCommandInsertChr::SQLCommandInsertChr(std::u16string text, std::int64_t line,
                                         const std::u16string& table, const std::u16string& columns,
                                         const std::u16string& values)
    : SQLParametrizedCommand(std::move(text), line) {
    sql_ = u"INSERT INTO ";
    sql_ += table;
    sql_ += u" (";
    sql_ += columns;
    sql_ += u") VALUES (";
    ValueScanner scanner(values);
    for (bool first = true; !scanner.atEnd(); first = false) {
        if (!first)
            sql_ += u", ";
        scanner.takeValue(true, sql_, parameters_);
    }
    sql_ += u")";
}

SQLCommandUpdate::SQLCommandUpdate(std::u16string text, std::int64_t line,
                                   const std::u16string& table, const std::u16string& assignments,
                                   const std::u16string& condition)
    : SQLParametrizedCommand(std::move(text), line) {
    sql_ = u"UPDATE ";
    sql_ += table;
    sql_ += u" SET ";
    ValueScanner scanner(assignments);
    for (bool first = true; !scanner.onlyBlanksLeft(); first = false) {
        if (!first)
            sql_ += u", ";
        // A plain value with a comma of its own (a function call with several arguments)
        // leaves a fragment without "=": the statement cannot be rewritten safely.
        if (!scanner.takeAssignmentTarget(sql_)) {
            rewriteError_ = u"Can't rewrite the UPDATE statement: the assignment \"";
            rewriteError_ += scanner.rest();
            rewriteError_ += u"\" has no \"=\". Values with commas of their own cannot be "
                             u"combined with chr() or base64() values in one UPDATE.";
            sql_.clear();
            parameters_.clear();
            return;
        }
        scanner.takeValue(false, sql_, parameters_);
    }
    sql_ += u" WHERE ";
    sql_ += condition;
}

} // namespace SQLExecutor

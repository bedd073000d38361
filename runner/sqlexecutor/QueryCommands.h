#pragma once

// Saved queries: views and procedures, created through the catalog with their SQL body.

#include "runner/sqlexecutor/SQLCommand.h"

namespace SQLExecutor {

class SQLCommandCreateView : public SQLCommand {
public:
    SQLCommandCreateView(std::u16string text, std::int64_t line, std::u16string name,
                         std::u16string body)
        : SQLCommand(std::move(text), line), name_(std::move(name)), body_(std::move(body)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& name() const { return name_; }
    // The SQL after AS, with the line breaks it had in the script.
    const std::u16string& body() const { return body_; }

private:
    std::u16string name_;
    std::u16string body_;
};

class SQLCommandCreateProcedure : public SQLCommandCreateView {
public:
    SQLCommandCreateProcedure(std::u16string text, std::int64_t line, std::u16string name,
                              std::u16string body, std::u16string parameters)
        : SQLCommandCreateView(std::move(text), line, std::move(name), std::move(body)),
          parameters_(std::move(parameters)) {}
    void execute(IExecutor& executor) const override;

    // The parameter declarations between the parentheses, as written.
    const std::u16string& parameters() const { return parameters_; }

private:
    std::u16string parameters_;
};

} // namespace SQLExecutor

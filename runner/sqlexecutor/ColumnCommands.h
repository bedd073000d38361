#pragma once

// Statements that change one column of a table beyond what the engine's SQL can say.

#include "runner/sqlexecutor/SQLCommand.h"

namespace SQLExecutor {

// ADD CONSTRAINT [[column].ValidationRule] CHECK (rule), or its DROP with an empty rule.
class SQLCommandAlterValidationRule : public SQLCommand {
public:
    SQLCommandAlterValidationRule(std::u16string text, std::int64_t line, std::u16string table,
                                  std::u16string column, std::u16string rule)
        : SQLCommand(std::move(text), line), table_(std::move(table)), column_(std::move(column)),
          rule_(std::move(rule)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return table_; }
    const std::u16string& column() const { return column_; }
    const std::u16string& rule() const { return rule_; }

private:
    std::u16string table_;
    std::u16string column_;
    std::u16string rule_;
};

class SQLCommandAlterZeroLength : public SQLCommand {
public:
    SQLCommandAlterZeroLength(std::u16string text, std::int64_t line, std::u16string table,
                              std::u16string column, bool allow)
        : SQLCommand(std::move(text), line), table_(std::move(table)), column_(std::move(column)),
          allow_(allow) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return table_; }
    const std::u16string& column() const { return column_; }
    bool allow() const { return allow_; }

private:
    std::u16string table_;
    std::u16string column_;
    bool allow_;
};

class SQLCommandAlterCalculatedFieldExpression : public SQLCommand {
public:
    SQLCommandAlterCalculatedFieldExpression(std::u16string text, std::int64_t line,
                                             std::u16string table, std::u16string column,
                                             std::u16string expression)
        : SQLCommand(std::move(text), line), table_(std::move(table)), column_(std::move(column)),
          expression_(std::move(expression)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return table_; }
    const std::u16string& column() const { return column_; }
    const std::u16string& expression() const { return expression_; }

private:
    std::u16string table_;
    std::u16string column_;
    std::u16string expression_;
};

class SQLCommandAddAttachment : public SQLCommand {
public:
    SQLCommandAddAttachment(std::u16string text, std::int64_t line, std::u16string table,
                            std::u16string column)
        : SQLCommand(std::move(text), line), table_(std::move(table)), column_(std::move(column)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return table_; }
    const std::u16string& column() const { return column_; }

private:
    std::u16string table_;
    std::u16string column_;
};

class SQLCommandAlterFormat : public SQLCommand {
public:
    SQLCommandAlterFormat(std::u16string text, std::int64_t line, std::u16string table,
                          std::u16string column, std::u16string format)
        : SQLCommand(std::move(text), line), table_(std::move(table)), column_(std::move(column)),
          format_(std::move(format)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return table_; }
    const std::u16string& column() const { return column_; }
    const std::u16string& format() const { return format_; }

private:
    std::u16string table_;
    std::u16string column_;
    std::u16string format_;
};

class SQLCommandAlterDecimalPlaces : public SQLCommand {
public:
    // The value that stands for automatic decimal places.
    static constexpr int automatic = 255;

    SQLCommandAlterDecimalPlaces(std::u16string text, std::int64_t line, std::u16string table,
                                 std::u16string column, int places)
        : SQLCommand(std::move(text), line), table_(std::move(table)), column_(std::move(column)),
          places_(places) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return table_; }
    const std::u16string& column() const { return column_; }
    int places() const { return places_; }

private:
    std::u16string table_;
    std::u16string column_;
    int places_;
};

class SQLCommandAlterDefaultValue : public SQLCommand {
public:
    SQLCommandAlterDefaultValue(std::u16string text, std::int64_t line, std::u16string table,
                                std::u16string column, std::u16string defaultValue)
        : SQLCommand(std::move(text), line), table_(std::move(table)), column_(std::move(column)),
          defaultValue_(std::move(defaultValue)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return table_; }
    const std::u16string& column() const { return column_; }
    // The default value's text as written in the script.
    const std::u16string& defaultValue() const { return defaultValue_; }

private:
    std::u16string table_;
    std::u16string column_;
    std::u16string defaultValue_;
};

} // namespace SQLExecutor

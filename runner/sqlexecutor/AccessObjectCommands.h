#pragma once

// Statements carried out through the Access application: objects and table data macros
// whose definitions the script embeds in Base64.

#include "runner/sqlexecutor/Base64.h"
#include "runner/sqlexecutor/SQLCommand.h"

namespace SQLExecutor {

// Access object kinds, as the application numbers them.
namespace AccessObjectKind {
constexpr int Form = 2;
constexpr int Report = 3;
constexpr int Macro = 4;
constexpr int Module = 5;
constexpr int TableDataMacro = 12;
} // namespace AccessObjectKind

class SQLCommandAlterTableDataMacro : public SQLCommand {
public:
    SQLCommandAlterTableDataMacro(std::u16string text, std::int64_t line, std::u16string table,
                                  Bytes definition)
        : SQLCommand(std::move(text), line), table_(std::move(table)),
          definition_(std::move(definition)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return table_; }
    const Bytes& definition() const { return definition_; }

private:
    std::u16string table_;
    Bytes definition_;
};

// Creates or replaces an object from its definition.
class SQLCommandAlterAccessObject : public SQLCommand {
public:
    SQLCommandAlterAccessObject(std::u16string text, std::int64_t line, std::u16string name,
                                int kind, Bytes definition)
        : SQLCommand(std::move(text), line), name_(std::move(name)), kind_(kind),
          definition_(std::move(definition)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& name() const { return name_; }
    int kind() const { return kind_; }
    const Bytes& definition() const { return definition_; }

private:
    std::u16string name_;
    int kind_;
    Bytes definition_;
};

class SQLCommandDropAccessObject : public SQLCommand {
public:
    SQLCommandDropAccessObject(std::u16string text, std::int64_t line, std::u16string name,
                               int kind)
        : SQLCommand(std::move(text), line), name_(std::move(name)), kind_(kind) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& name() const { return name_; }
    int kind() const { return kind_; }

private:
    std::u16string name_;
    int kind_;
};

} // namespace SQLExecutor

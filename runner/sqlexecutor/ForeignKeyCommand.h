#pragma once

// A foreign key that the engine's SQL cannot create: one without its own index, or a
// unique (one-to-one) one. The executor builds it as a relation.

#include "runner/sqlexecutor/SQLCommand.h"

#include <vector>

namespace SQLExecutor {

struct ColumnPair {
    std::u16string column;
    std::u16string referencedColumn;
    bool operator==(const ColumnPair&) const = default;
};

class SQLCommandAddConstraintNoIndex : public SQLCommand {
public:
    struct Fields {
        std::u16string table;
        std::u16string referencedTable;
        std::u16string constraintName;
        std::vector<ColumnPair> columns;
        bool unique = false;
        bool updateCascades = false;
        bool deleteCascades = false;
    };

    SQLCommandAddConstraintNoIndex(std::u16string text, std::int64_t line, Fields fields)
        : SQLCommand(std::move(text), line), fields_(std::move(fields)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& table() const { return fields_.table; }
    const std::u16string& referencedTable() const { return fields_.referencedTable; }
    const std::u16string& constraintName() const { return fields_.constraintName; }
    const std::vector<ColumnPair>& columns() const { return fields_.columns; }
    bool unique() const { return fields_.unique; }
    bool updateCascades() const { return fields_.updateCascades; }
    bool deleteCascades() const { return fields_.deleteCascades; }

private:
    Fields fields_;
};

} // namespace SQLExecutor

#pragma once

// Linked tables: LINK TABLE [local] TO [remote] ODBC "connect" or SRC "database".

#include "runner/sqlexecutor/SQLCommand.h"

namespace SQLExecutor {

class SQLCommandLinkODBC : public SQLCommand {
public:
    SQLCommandLinkODBC(std::u16string text, std::int64_t line, std::u16string localTable,
                       std::u16string connection, std::u16string remoteTable)
        : SQLCommand(std::move(text), line), localTable_(std::move(localTable)),
          connection_(std::move(connection)), remoteTable_(std::move(remoteTable)) {}
    void execute(IExecutor& executor) const override;

    const std::u16string& localTable() const { return localTable_; }
    // The text between the quotes.
    const std::u16string& connection() const { return connection_; }
    const std::u16string& remoteTable() const { return remoteTable_; }

private:
    std::u16string localTable_;
    std::u16string connection_;
    std::u16string remoteTable_;
};

class SQLCommandLinkAccess : public SQLCommandLinkODBC {
public:
    using SQLCommandLinkODBC::SQLCommandLinkODBC;
    void execute(IExecutor& executor) const override;
};

} // namespace SQLExecutor

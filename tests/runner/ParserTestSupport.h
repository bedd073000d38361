#pragma once

// Parses a script held in memory into its commands.

#include "runner/sqlexecutor/SQLParser.h"
#include "runner/stream/StringStream.h"

#include <memory>
#include <string>
#include <vector>

inline std::vector<std::unique_ptr<SQLExecutor::SQLCommand>>
parseScript(const std::u16string& script) {
    Libs::Text::StringStream stream(script);
    SQLExecutor::SQLParser parser(stream);
    std::vector<std::unique_ptr<SQLExecutor::SQLCommand>> commands;
    while (auto command = parser.next())
        commands.push_back(std::move(command));
    return commands;
}

// The one command of a one-statement script, as the class it must have (null otherwise).
template <typename Command> std::unique_ptr<Command> parseOne(const std::u16string& statement) {
    auto commands = parseScript(statement);
    if (commands.size() != 1)
        return nullptr;
    auto* typed = dynamic_cast<Command*>(commands.front().get());
    if (!typed || typeid(*commands.front()) != typeid(Command))
        return nullptr;
    commands.front().release();
    return std::unique_ptr<Command>(typed);
}

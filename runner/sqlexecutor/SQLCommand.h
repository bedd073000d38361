#pragma once

// One statement of a script. Plain SQL is an SQLCommand itself; the dialect's extended
// statements are subclasses that carry the parts the executor needs.

#include <cstdint>
#include <string>

namespace SQLExecutor {

class IExecutor;

class SQLCommand {
public:
    SQLCommand(std::u16string text, std::int64_t lineNumber)
        : text_(std::move(text)), lineNumber_(lineNumber) {}
    virtual ~SQLCommand() = default;
    SQLCommand(const SQLCommand&) = delete;
    SQLCommand& operator=(const SQLCommand&) = delete;

    // Calls the executor's operation for this command's class.
    virtual void execute(IExecutor& executor) const;

    // The statement as collected, without its final ";".
    const std::u16string& text() const { return text_; }
    // The line on which the statement began (for a last statement without ";", the last
    // line read).
    std::int64_t lineNumber() const { return lineNumber_; }

private:
    std::u16string text_;
    std::int64_t lineNumber_;
};

} // namespace SQLExecutor

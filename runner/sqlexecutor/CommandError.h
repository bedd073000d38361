#pragma once

// A command that cannot be carried out as written, found before it reaches the database.
// The executor reports its message like any other failed command.

#include <exception>
#include <string>

namespace SQLExecutor {

class CommandError : public std::exception {
public:
    explicit CommandError(std::u16string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return "command error"; }
    const std::u16string& message() const { return message_; }

private:
    std::u16string message_;
};

} // namespace SQLExecutor

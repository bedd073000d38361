#pragma once

// The failure types of the shared foundation, besides text::IOException and
// engine::EngineError (the failure of an engine call). Each carries the text shown to the user;
// what() gives it in UTF-8.

#include "foundation/engine/api/EngineError.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace database {

using engine::EngineError;

// A general failure with a message.
class Exception : public std::runtime_error {
public:
    explicit Exception(std::u16string message);
    const char16_t* message() const noexcept { return message_->c_str(); }

private:
    // Shared so that copying the exception cannot throw.
    std::shared_ptr<const std::u16string> message_;
};

// A database or an engine interface that could not be opened.
class DbOpenException : public std::runtime_error {
public:
    explicit DbOpenException(std::u16string message);
    const std::u16string& message() const noexcept { return *message_; }

private:
    std::shared_ptr<const std::u16string> message_;
};

// "\r\nError: " and the error's description; empty when it has none.
std::u16string errorText(const EngineError& error);

// The system's message for a status code; "IDispatch error #n" (n = code - 0x80040200) for
// codes of the dispatch range without one, else "Unknown error 0x<code>".
std::u16string errorMessage(std::uint32_t code);

} // namespace database

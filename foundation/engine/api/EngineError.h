#pragma once

// The one failure type of the engine object model: a status code in the Microsoft engine's
// numbering and, when the engine supplied one, a description in its wording.

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

namespace status {
constexpr std::uint32_t unspecified = 0x80004005;     // most engine errors
constexpr std::uint32_t syntaxError = 0x80040E14;     // a statement that does not parse
constexpr std::uint32_t objectNotFound = 0x80040E37;  // table or other object not found
constexpr std::uint32_t itemNotFound = 0x800A0CC1;    // collection item or property absent
constexpr std::uint32_t authentication = 0x80040E4D;  // wrong password
constexpr std::uint32_t invalidArgument = 0x800A0BB9; // argument of the wrong type or range
constexpr std::uint32_t objectClosed = 0x800A0E78;    // operation on a closed object
} // namespace status

class EngineError {
public:
    EngineError(std::uint32_t status, std::u16string description = {})
        : status_(status), description_(std::move(description)) {}

    std::uint32_t status() const { return status_; }
    const std::u16string& description() const { return description_; }

private:
    std::uint32_t status_;
    std::u16string description_;
};

// The errors that more than one backend raises, with the engine's own texts.
namespace errors {
EngineError itemNotFound();
EngineError fileNotFound(std::u16string_view path);
EngineError unrecognizedFormat(std::u16string_view path);
EngineError fileInUse(std::u16string_view path);
EngineError notValidPassword();
EngineError readOnly();
EngineError objectClosed();
EngineError invalidArgument();
EngineError tableNotFound(std::u16string_view table);
EngineError tableExists(std::u16string_view table);
EngineError fieldExists(std::u16string_view field, std::u16string_view table);
EngineError syntaxError(std::u16string_view statementKind); // "Syntax error in <kind> statement."
} // namespace errors

} // namespace engine

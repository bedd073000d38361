#include "runner/executor/ErrorText.h"

#include "foundation/database/Exceptions.h"

#include <cstdio>

namespace SQLExecutor {

namespace {

std::u16string lowerHex(std::uint32_t status) {
    char digits[16];
    int length = std::snprintf(digits, sizeof digits, "%x", unsigned(status));
    return std::u16string(digits, digits + length);
}

} // namespace

std::u16string engineFailureText(const engine::EngineError& error) {
    std::u16string text = database::errorText(error);
    if (!text.empty())
        return text;
    if (error.status() == engine::status::unspecified)
        return u"\r\nError: " + lowerHex(error.status()) +
               u"\r\nCheck syntax. If a reserved word is used as a table or a field name. "
               u"Enclose that table and field names within square brackets.";
    return u"\r\nUnknown Error: " + lowerHex(error.status()) + u" \r\nCheck permissions.";
}

} // namespace SQLExecutor

#include "foundation/database/Exceptions.h"

#include "foundation/text/WideString.h"

#include <cstdio>

namespace database {

namespace {

// The texts the system gives for the common status codes of COM calls.
struct SystemMessage {
    std::uint32_t code;
    const char16_t* text;
};

constexpr SystemMessage systemMessages[] = {
    {0x80004001, u"Not implemented"},
    {0x80004002, u"No such interface supported"},
    {0x80004003, u"Invalid pointer"},
    {0x80004004, u"Operation aborted"},
    {0x80004005, u"Unspecified error"},
    {0x8000FFFF, u"Catastrophic failure"},
    {0x80040154, u"Class not registered"},
    {0x80070002, u"The system cannot find the file."},
    {0x80070003, u"The system cannot find the path."},
    {0x80070005, u"Access is denied."},
    {0x8007000E, u"Not enough memory resources are available to complete this operation."},
    {0x80070020, u"The process cannot access the file because it is being used by another "
                 u"process."},
    {0x80070057, u"The parameter is incorrect."},
    {0x800401F3, u"Invalid class string"},
};

} // namespace

Exception::Exception(std::u16string message)
    : std::runtime_error(text::toUtf8(message)),
      message_(std::make_shared<const std::u16string>(std::move(message))) {}

DbOpenException::DbOpenException(std::u16string message)
    : std::runtime_error(text::toUtf8(message)),
      message_(std::make_shared<const std::u16string>(std::move(message))) {}

std::u16string errorText(const EngineError& error) {
    if (error.description().empty())
        return {};
    return u"\r\nError: " + error.description();
}

std::u16string errorMessage(std::uint32_t code) {
    for (const SystemMessage& message : systemMessages)
        if (message.code == code)
            return message.text;
    char buffer[40];
    if (code >= 0x80040200 && code <= 0x8004FFFF)
        std::snprintf(buffer, sizeof buffer, "IDispatch error #%d", int(code - 0x80040200));
    else
        std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX",
                      static_cast<unsigned long>(code));
    return text::fromUtf8(buffer);
}

} // namespace database

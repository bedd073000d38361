#include "foundation/engine/ValueConversion.h"

#include "foundation/text/WideString.h"

#include <cmath>

namespace engine {

bool truth(const Variant& value) {
    if (auto number = value.toDouble())
        return *number != 0;
    if (value.isString())
        return text::equalsNoCase(value.asString(), u"true") || value.asString() == u"-1";
    return false;
}

std::u16string textOf(const Variant& value) {
    return value.toText().value_or(u"");
}

std::int64_t integerOf(const Variant& value, std::int64_t fallback) {
    if (auto number = value.toDouble())
        return std::int64_t(std::llround(*number));
    std::int64_t parsed = 0;
    if (value.isString() && text::parseInt(value.asString(), parsed))
        return parsed;
    return fallback;
}

} // namespace engine

#include "reader/PropertyValues.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

namespace reader {

std::optional<engine::Variant> findProperty(const engine::Properties& properties,
                                            std::u16string_view name) {
    try {
        return properties.value(name);
    } catch (const engine::EngineError&) {
        return std::nullopt;
    }
}

std::u16string textOf(const engine::Variant& value) {
    return value.toText().value_or(std::u16string());
}

bool truthOf(const engine::Variant& value) {
    if (value.isString()) {
        const std::u16string& text = value.asString();
        std::int64_t number = 0;
        return text::equalsNoCase(text, u"true") || (text::parseInt(text, number) && number != 0);
    }
    std::optional<double> number = value.toDouble();
    return number && *number != 0;
}

bool hasNoValue(const engine::Variant& value) {
    return value.isEmpty() || value.isNull();
}

} // namespace reader

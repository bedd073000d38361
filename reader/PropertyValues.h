#pragma once

// Reading the engine's property values the way the readers need them: a property that cannot
// be read counts as absent, and values convert to text and truth leniently.

#include "foundation/engine/api/Properties.h"
#include "foundation/engine/api/Variant.h"

#include <optional>
#include <string>
#include <string_view>

namespace reader {

// The value of the named property; none when it is absent or cannot be read.
std::optional<engine::Variant> findProperty(const engine::Properties& properties,
                                            std::u16string_view name);

// Empty and null give "", as does a value without a text form (a byte array).
std::u16string textOf(const engine::Variant& value);

// Empty, null and zero are false; so is text other than "True" or a non-zero number.
bool truthOf(const engine::Variant& value);

// Empty or null.
bool hasNoValue(const engine::Variant& value);

} // namespace reader

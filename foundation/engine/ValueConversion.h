#pragma once

// How the object model takes property values that callers set with any variant type.

#include "foundation/engine/api/Variant.h"

#include <string>

namespace engine {

// A number is true when not 0 (so -1 and 1 both are); a text when it says "True" or "-1".
bool truth(const Variant& value);

// The text of a value; the empty text for null and arrays.
std::u16string textOf(const Variant& value);

// The integer of a number or of a text of digits; fallback otherwise.
std::int64_t integerOf(const Variant& value, std::int64_t fallback);

} // namespace engine

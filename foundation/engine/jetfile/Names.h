#pragma once

// Names of tables, columns and indexes compare as the engine compares identifiers: without
// regard to case. Where the engine orders names (the logical indexes of a definition), it
// orders them by their lower-case form.

#include <string>

namespace engine::jetfile {

std::u16string foldedName(std::u16string_view name);
bool sameName(std::u16string_view a, std::u16string_view b);
// Whether a sorts before b.
bool nameBefore(std::u16string_view a, std::u16string_view b);

} // namespace engine::jetfile

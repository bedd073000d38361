#pragma once

// Shared prefixes, suffixes and overlaps of two texts, counted in UTF-16 units.

#include <cstddef>
#include <string_view>

namespace diff {

std::size_t commonPrefix(std::u16string_view text1, std::u16string_view text2);
std::size_t commonSuffix(std::u16string_view text1, std::u16string_view text2);

// Length of the longest suffix of text1 that is a prefix of text2.
std::size_t commonOverlap(std::u16string_view text1, std::u16string_view text2);

} // namespace diff

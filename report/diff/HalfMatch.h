#pragma once

// The half-match split: when both texts share a run of at least half the longer text, the
// diff can be split around it. Fast, but the result need not be minimal.

#include <optional>
#include <string_view>

namespace diff {

// Views into the two texts given to findHalfMatch.
struct HalfMatch {
    std::u16string_view text1Before;
    std::u16string_view text1After;
    std::u16string_view text2Before;
    std::u16string_view text2After;
    std::u16string_view common;
};

std::optional<HalfMatch> findHalfMatch(std::u16string_view text1, std::u16string_view text2);

} // namespace diff

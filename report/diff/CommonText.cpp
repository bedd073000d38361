#include "report/diff/CommonText.h"

#include <algorithm>

namespace diff {

std::size_t commonPrefix(std::u16string_view text1, std::u16string_view text2) {
    const auto end = std::min(text1.size(), text2.size());
    std::size_t n = 0;
    while (n < end && text1[n] == text2[n]) {
        ++n;
    }
    return n;
}

std::size_t commonSuffix(std::u16string_view text1, std::u16string_view text2) {
    const auto end = std::min(text1.size(), text2.size());
    std::size_t n = 0;
    while (n < end && text1[text1.size() - 1 - n] == text2[text2.size() - 1 - n]) {
        ++n;
    }
    return n;
}

std::size_t commonOverlap(std::u16string_view text1, std::u16string_view text2) {
    if (text1.empty() || text2.empty()) {
        return 0;
    }
    // Only the last units of text1 and the first of text2 can overlap.
    const auto length = std::min(text1.size(), text2.size());
    text1 = text1.substr(text1.size() - length);
    text2 = text2.substr(0, length);
    if (text1 == text2) {
        return length;
    }
    // Grow a candidate suffix of text1, jumping to wherever it next occurs in text2; the
    // candidate is an overlap when that occurrence reaches back to text2's start.
    std::size_t best = 0;
    std::size_t candidate = 1;
    while (candidate <= length) {
        const auto found = text2.find(text1.substr(length - candidate));
        if (found == std::u16string_view::npos) {
            return best;
        }
        candidate += found;
        if (found == 0 || text1.substr(length - candidate) == text2.substr(0, candidate)) {
            best = candidate;
            ++candidate;
        }
    }
    return best;
}

} // namespace diff

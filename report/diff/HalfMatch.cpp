#include "report/diff/HalfMatch.h"

#include "report/diff/CommonText.h"

namespace diff {

namespace {

// Same fields, seen from the longer and the shorter text.
struct Split {
    std::u16string_view longBefore, longAfter, shortBefore, shortAfter, common;
};

// Seeds with the quarter of `longText` that starts at `seedStart` and keeps the longest run
// around any occurrence of the seed in `shortText`.
std::optional<Split> splitAroundSeed(std::u16string_view longText, std::u16string_view shortText,
                                     std::size_t seedStart) {
    const auto seed = longText.substr(seedStart, longText.size() / 4);
    std::optional<Split> best;
    for (auto j = shortText.find(seed); j != std::u16string_view::npos;
         j = shortText.find(seed, j + 1)) {
        const auto after = commonPrefix(longText.substr(seedStart), shortText.substr(j));
        const auto before = commonSuffix(longText.substr(0, seedStart), shortText.substr(0, j));
        if ((best ? best->common.size() : 0) < before + after) {
            best = Split{longText.substr(0, seedStart - before), longText.substr(seedStart + after),
                         shortText.substr(0, j - before), shortText.substr(j + after),
                         shortText.substr(j - before, before + after)};
        }
    }
    if (!best || best->common.size() * 2 < longText.size()) {
        return std::nullopt;
    }
    return best;
}

} // namespace

std::optional<HalfMatch> findHalfMatch(std::u16string_view text1, std::u16string_view text2) {
    const bool firstIsLonger = text1.size() > text2.size();
    const auto longText = firstIsLonger ? text1 : text2;
    const auto shortText = firstIsLonger ? text2 : text1;
    if (longText.size() < 4 || shortText.size() * 2 < longText.size()) {
        return std::nullopt;
    }
    // Seeds from the second and the third quarter; a run of half the text covers one of them.
    const auto second = splitAroundSeed(longText, shortText, (longText.size() + 3) / 4);
    const auto third = splitAroundSeed(longText, shortText, (longText.size() + 1) / 2);
    if (!second && !third) {
        return std::nullopt;
    }
    const Split& split =
        !third ? *second
               : (!second || third->common.size() >= second->common.size() ? *third : *second);
    if (firstIsLonger) {
        return HalfMatch{split.longBefore, split.longAfter, split.shortBefore, split.shortAfter,
                         split.common};
    }
    return HalfMatch{split.shortBefore, split.shortAfter, split.longBefore, split.longAfter,
                     split.common};
}

} // namespace diff

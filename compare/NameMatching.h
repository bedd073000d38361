#pragma once

// Pairs the elements of two lists by name. Each element of the first list, in order, takes
// the first element of the second list with an equal name that no earlier element took;
// the elements of the second list that nobody took come last, in their order. Names are
// hashed rather than searched so that large schemas pair in linear time; the pairs and their
// order are those of a linear search through a shrinking copy of the second list.

#include "foundation/text/WideString.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

enum class NameRule {
    Exact,           // case-sensitive
    IgnoreAsciiCase, // A-Z folded to a-z, nothing else
};

// onlyFirst(T&), both(T& first, T& second), onlySecond(T&).
template <class T, class OnlyFirst, class Both, class OnlySecond>
void pairByName(const std::vector<std::unique_ptr<T>>& first,
                const std::vector<std::unique_ptr<T>>& second, NameRule rule, OnlyFirst onlyFirst,
                Both both, OnlySecond onlySecond) {
    auto key = [rule](const std::u16string& name) {
        return rule == NameRule::Exact ? name : text::asciiLower(name);
    };

    // Positions in the second list per name, and how many of them are already taken.
    struct Candidates {
        std::vector<std::size_t> positions;
        std::size_t taken = 0;
    };
    std::unordered_map<std::u16string, Candidates> byName;
    byName.reserve(second.size());
    for (std::size_t i = 0; i < second.size(); ++i)
        byName[key(second[i]->name())].positions.push_back(i);

    std::vector<bool> matched(second.size(), false);
    for (const auto& element : first) {
        auto found = byName.find(key(element->name()));
        if (found == byName.end() || found->second.taken == found->second.positions.size()) {
            onlyFirst(*element);
            continue;
        }
        std::size_t position = found->second.positions[found->second.taken++];
        matched[position] = true;
        both(*element, *second[position]);
    }
    for (std::size_t i = 0; i < second.size(); ++i) {
        if (!matched[i])
            onlySecond(*second[i]);
    }
}

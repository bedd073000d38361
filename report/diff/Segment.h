#pragma once

// One piece of a diff: a run of text that is in both texts, only in the first or only in
// the second.

#include <string>
#include <vector>

namespace diff {

enum class Operation { Equal, Delete, Insert };

struct Segment {
    Operation operation;
    std::u16string text;

    friend bool operator==(const Segment&, const Segment&) = default;
};

using Segments = std::vector<Segment>;

// The style the diff view draws a segment with: 0 plain, 1 struck out in grey (only in the
// first text), 2 blue (only in the second).
constexpr int segmentStyle(Operation operation) {
    switch (operation) {
    case Operation::Equal:
        return 0;
    case Operation::Delete:
        return 1;
    case Operation::Insert:
        return 2;
    }
    return 3;
}

} // namespace diff

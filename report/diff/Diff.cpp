#include "report/diff/Diff.h"

#include "report/diff/Cleanup.h"
#include "report/diff/CommonText.h"
#include "report/diff/HalfMatch.h"
#include "report/diff/LineEncoding.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace diff {

namespace {

using View = std::u16string_view;

void append(Segments& to, Segments&& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// Diffs the two halves on either side of a point of the middle snake.
Segments splitAt(View text1, View text2, std::size_t x, std::size_t y, const Deadline& deadline) {
    Segments segments = diffMain(text1.substr(0, x), text2.substr(0, y), false, deadline);
    append(segments, diffMain(text1.substr(x), text2.substr(y), false, deadline));
    return segments;
}

// Furthest x reached on each diagonal k of the edit graph, -1 where none yet. The storage
// grows with the diagonals written, so a bisection that ends early stays cheap on long texts.
class Reach {
public:
    int operator[](int k) const {
        const int i = k + half_;
        return i >= 0 && i < static_cast<int>(x_.size()) ? x_[i] : -1;
    }

    void set(int k, int x) {
        if (std::abs(k) > half_) {
            grow(std::max(2 * half_, std::abs(k)));
        }
        x_[k + half_] = x;
    }

private:
    void grow(int half) {
        std::vector<int> wider(2 * half + 1, -1);
        std::copy(x_.begin(), x_.end(), wider.begin() + (half - half_));
        x_ = std::move(wider);
        half_ = half;
    }

    std::vector<int> x_ = std::vector<int>(65, -1);
    int half_ = 32;
};

// Myers' O(ND) bisection (Myers 1986): walks the edit graph from both corners at once until
// the paths meet, then splits the problem there. Past the deadline, or when nothing is
// shared, the texts are one deletion and one insertion.
Segments bisect(View text1, View text2, const Deadline& deadline) {
    const int length1 = static_cast<int>(text1.size());
    const int length2 = static_cast<int>(text2.size());
    const int maxD = (length1 + length2 + 1) / 2;
    Reach v1; // from the top left
    Reach v2; // from the bottom right, x counted from the end
    v1.set(1, 0);
    v2.set(1, 0);
    const int delta = length1 - length2;
    // With an odd total the front path collides with the reverse one, else the other way.
    const bool front = delta % 2 != 0;
    // Diagonals that ran off the grid are not walked again.
    int k1start = 0, k1end = 0, k2start = 0, k2end = 0;
    for (int d = 0; d < maxD; ++d) {
        if (deadline.passed()) {
            break;
        }
        for (int k1 = -d + k1start; k1 <= d - k1end; k1 += 2) {
            int x1 = k1 == -d || (k1 != d && v1[k1 - 1] < v1[k1 + 1]) ? v1[k1 + 1] : v1[k1 - 1] + 1;
            int y1 = x1 - k1;
            while (x1 < length1 && y1 < length2 && text1[x1] == text2[y1]) {
                ++x1;
                ++y1;
            }
            v1.set(k1, x1);
            if (x1 > length1) {
                k1end += 2; // off the right of the grid
            } else if (y1 > length2) {
                k1start += 2; // off the bottom
            } else if (front && v2[delta - k1] != -1 && x1 >= length1 - v2[delta - k1]) {
                return splitAt(text1, text2, x1, y1, deadline);
            }
        }
        for (int k2 = -d + k2start; k2 <= d - k2end; k2 += 2) {
            int x2 = k2 == -d || (k2 != d && v2[k2 - 1] < v2[k2 + 1]) ? v2[k2 + 1] : v2[k2 - 1] + 1;
            int y2 = x2 - k2;
            while (x2 < length1 && y2 < length2 &&
                   text1[length1 - x2 - 1] == text2[length2 - y2 - 1]) {
                ++x2;
                ++y2;
            }
            v2.set(k2, x2);
            if (x2 > length1) {
                k2end += 2; // off the left of the grid
            } else if (y2 > length2) {
                k2start += 2; // off the top
            } else if (!front && v1[delta - k2] != -1 && v1[delta - k2] >= length1 - x2) {
                const int x1 = v1[delta - k2];
                return splitAt(text1, text2, x1, x1 - (delta - k2), deadline);
            }
        }
    }
    return {{Operation::Delete, std::u16string(text1)}, {Operation::Insert, std::u16string(text2)}};
}

// Diffs the lines first, then character by character wherever lines were replaced. Faster
// on long texts, though not always minimal.
Segments lineMode(View text1, View text2, const Deadline& deadline) {
    const LineEncoding encoding = encodeLines(text1, text2);
    Segments lines = diffMain(encoding.chars1, encoding.chars2, false, deadline);
    decodeLines(lines, encoding.lines);
    // Drops coincidental matches such as blank lines.
    cleanupSemantic(lines);

    Segments segments;
    Segments pending; // the edits since the last equality
    std::u16string deleted;
    std::u16string inserted;
    bool anyDeleted = false;
    bool anyInserted = false;
    auto flush = [&] {
        if (anyDeleted && anyInserted) {
            append(segments, diffMain(deleted, inserted, false, deadline));
        } else {
            append(segments, std::move(pending));
        }
        pending.clear();
        deleted.clear();
        inserted.clear();
        anyDeleted = anyInserted = false;
    };
    for (auto& segment : lines) {
        switch (segment.operation) {
        case Operation::Delete:
            deleted += segment.text;
            anyDeleted = true;
            pending.push_back(std::move(segment));
            break;
        case Operation::Insert:
            inserted += segment.text;
            anyInserted = true;
            pending.push_back(std::move(segment));
            break;
        case Operation::Equal:
            flush();
            segments.push_back(std::move(segment));
            break;
        }
    }
    flush();
    return segments;
}

// The middle of diffMain: the texts share no prefix or suffix.
Segments compute(View text1, View text2, bool checkLines, const Deadline& deadline) {
    if (text1.empty()) {
        return {{Operation::Insert, std::u16string(text2)}};
    }
    if (text2.empty()) {
        return {{Operation::Delete, std::u16string(text1)}};
    }
    const bool firstIsLonger = text1.size() > text2.size();
    const View longText = firstIsLonger ? text1 : text2;
    const View shortText = firstIsLonger ? text2 : text1;
    if (const auto at = longText.find(shortText); at != View::npos) {
        // The shorter text lies inside the longer one.
        const auto edit = firstIsLonger ? Operation::Delete : Operation::Insert;
        return {{edit, std::u16string(longText.substr(0, at))},
                {Operation::Equal, std::u16string(shortText)},
                {edit, std::u16string(longText.substr(at + shortText.size()))}};
    }
    if (shortText.size() == 1) {
        // One unit that the longer text does not contain.
        return {{Operation::Delete, std::u16string(text1)},
                {Operation::Insert, std::u16string(text2)}};
    }
    if (const auto half = findHalfMatch(text1, text2)) {
        Segments segments = diffMain(half->text1Before, half->text2Before, checkLines, deadline);
        segments.push_back({Operation::Equal, std::u16string(half->common)});
        append(segments, diffMain(half->text1After, half->text2After, checkLines, deadline));
        return segments;
    }
    if (checkLines && text1.size() > 100 && text2.size() > 100) {
        return lineMode(text1, text2, deadline);
    }
    return bisect(text1, text2, deadline);
}

} // namespace

Segments diffMain(View text1, View text2, bool checkLines, const Deadline& deadline) {
    if (text1 == text2) {
        if (text1.empty()) {
            return {};
        }
        return {{Operation::Equal, std::u16string(text1)}};
    }
    const auto prefix = commonPrefix(text1, text2);
    const View commonStart = text1.substr(0, prefix);
    text1.remove_prefix(prefix);
    text2.remove_prefix(prefix);
    const auto suffix = commonSuffix(text1, text2);
    const View commonEnd = text1.substr(text1.size() - suffix);
    text1.remove_suffix(suffix);
    text2.remove_suffix(suffix);

    Segments segments = compute(text1, text2, checkLines, deadline);
    if (!commonStart.empty()) {
        segments.insert(segments.begin(), {Operation::Equal, std::u16string(commonStart)});
    }
    if (!commonEnd.empty()) {
        segments.push_back({Operation::Equal, std::u16string(commonEnd)});
    }
    cleanupMerge(segments);
    return segments;
}

Segments computeDiff(View text1, View text2) {
    using namespace std::chrono_literals;
    return diffMain(text1, text2, true, Deadline::fromNow(1000ms));
}

} // namespace diff

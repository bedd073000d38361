#pragma once

// Checks that hold for every diff, whatever its deadline.

#include "report/diff/Segment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

namespace diff {

// Readable failure messages: "-[abc]" with units outside printable ASCII as \uXXXX.
inline void PrintTo(const Segment& segment, std::ostream* out) {
    *out << (segment.operation == Operation::Equal    ? '='
             : segment.operation == Operation::Delete ? '-'
                                                      : '+')
         << '[';
    for (const char16_t unit : segment.text) {
        if (unit >= 0x20 && unit < 0x7F) {
            *out << static_cast<char>(unit);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
            *out << escaped;
        }
    }
    *out << ']';
}

inline std::u16string textOf(const Segments& segments, Operation skipped) {
    std::u16string text;
    for (const auto& segment : segments) {
        if (segment.operation != skipped) {
            text += segment.text;
        }
    }
    return text;
}

// Both texts can be read back and no two neighbours are of the same kind. (An edit may be
// empty: the reference leaves one where a deletion is wholly an overlap with the insertion.)
inline void expectWellFormed(const Segments& segments, std::u16string_view text1,
                             std::u16string_view text2) {
    EXPECT_EQ(textOf(segments, Operation::Insert), text1);
    EXPECT_EQ(textOf(segments, Operation::Delete), text2);
    for (std::size_t i = 1; i < segments.size(); ++i) {
        EXPECT_NE(segments[i - 1].operation, segments[i].operation)
            << "segment " << i << " of " << testing::PrintToString(segments);
    }
}

} // namespace diff

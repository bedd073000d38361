#pragma once

// Line mode: each distinct line becomes one UTF-16 unit, so that two long texts can be
// diffed line by line with the ordinary character diff.

#include "report/diff/Segment.h"

#include <string>
#include <string_view>
#include <vector>

namespace diff {

struct LineEncoding {
    std::u16string chars1;
    std::u16string chars2;
    // Unit value -> line (with its "\n"); views into the encoded texts. Entry 0 is unused so
    // that no line is encoded as U+0000.
    std::vector<std::u16string_view> lines;
};

// Lines end after "\n". With more than 40,000 distinct lines in text1, or 65,535 in both
// texts, the rest of a text becomes one line, since a unit cannot number more.
LineEncoding encodeLines(std::u16string_view text1, std::u16string_view text2);

// Replaces each segment's units by the lines they stand for.
void decodeLines(Segments& segments, const std::vector<std::u16string_view>& lines);

} // namespace diff

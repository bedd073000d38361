#pragma once

// Our implementation of the diff-match-patch main diff. Texts are compared by UTF-16 units,
// exactly as the reference implementation does: for inputs on which the deadline does not
// fire, the segments are the reference's, segment for segment.

#include "report/diff/Deadline.h"
#include "report/diff/Segment.h"

#include <string_view>

namespace diff {

// The diff the comparer shows: line mode allowed and a deadline one second from now. Equal
// texts give one equal segment (none when both are empty).
Segments computeDiff(std::u16string_view text1, std::u16string_view text2);

// The main diff with an explicit deadline. `checkLines` lets middles longer than 100 units
// on both sides be diffed line by line first, then character by character where lines were
// replaced. The result has been through the merge cleanup and no other.
Segments diffMain(std::u16string_view text1, std::u16string_view text2, bool checkLines,
                  const Deadline& deadline);

} // namespace diff

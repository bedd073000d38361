#pragma once

// Where the segments of a measured tip go, given the width of the text area. Widths come
// from the caller's text measurement; positions are relative to the text area's top left.

#include "comparer/tips/Tip.h"

#include <span>

namespace FormattedTextViewControl {

// What layout needs of a style besides the segments' own widths.
struct StyleMetrics {
    int wordGap = 0;    // the natural gap after a word
    int lineHeight = 0; // font height + 4
};

// The narrowest width that breaks no word and no line: the widest word of any paragraph,
// or the width of the widest line.
int minimumWidth(const Tip& tip);

// Places the containers one under another from y = 0. A line keeps its pieces side by side
// without gaps. A paragraph is wrapped greedily at width; every visual line except its last
// is justified to that width exactly, the last keeps the natural gaps. width must be at
// least minimumWidth(tip); styles is indexed by segment style. Returns the height used.
int layOut(Tip& tip, std::span<const StyleMetrics> styles, int width);

} // namespace FormattedTextViewControl

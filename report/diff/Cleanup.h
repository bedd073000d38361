#pragma once

// Post-processing of a segment list. Both keep the two texts the list describes.

#include "report/diff/Segment.h"

namespace diff {

// Joins neighbouring segments of the same kind, moves text that a deletion and an insertion
// share at their ends into the equal segments around them, and slides single edits over a
// neighbouring equality where that removes the equality.
void cleanupMerge(Segments& segments);

// Turns short equalities that sit between larger edits into edits (they are coincidences,
// such as blank lines), moves edits to word and line boundaries, and splits off text that
// ends a deletion and begins the following insertion (or the other way round).
void cleanupSemantic(Segments& segments);

} // namespace diff

#pragma once

// One item of a comparison result: an element of the first database, its counterpart in
// the second and what happened to it. States are seen from the first database.

#include "schema/Element.h"

enum class ElementState : int {
    Added = 1,   // only in the second database; first is the EmptyElement
    Deleted = 2, // only in the first database; second is the EmptyElement
    Changed = 3, // in both, matched by name
};

struct ElementDifference {
    // Neither element is owned: they belong to the compared schemas, or are the EmptyElement.
    const Element* first;
    const Element* second;
    ElementState state;
};

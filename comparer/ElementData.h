#pragma once

// One row of the comparer's results list: what the row shows besides its columns, and what a
// double click hands to the presenter to show the row's difference.

#include <cstdint>
#include <string>

class Element;

struct ElementData {
    std::u16string firstTooltip;
    std::u16string secondTooltip;
    // Neither is owned: they belong to the comparison that the row was made from.
    const Element& first;
    const Element& second;
    std::uint32_t colour; // background of the row's cells, 0xRRGGBB
    bool isTable;         // the first or the second element is a table
};

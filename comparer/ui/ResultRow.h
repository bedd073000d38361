#pragma once

// One row of the results list as the list shows it: the texts of its seven columns, the
// image of its type column and the row object that a double click hands on.

#include "comparer/ElementData.h"

#include <QString>

#include <array>
#include <deque>
#include <memory>

// The columns: 0 to 2 show the first database, 3 separates the sides, 4 and 5 show the
// second database and 6 the state.
enum ResultColumn : int {
    TypeColumn = 0,
    FirstNameColumn = 1,
    FirstInfoColumn = 2,
    SeparatorColumn = 3,
    SecondNameColumn = 4,
    SecondInfoColumn = 5,
    ActionColumn = 6,
    ResultColumnCount = 7,
};

struct ResultRow {
    std::array<QString, ResultColumnCount> cells;
    int image = -1; // index into the element images; none while negative
    std::unique_ptr<ElementData> data;
};

// Rows are inserted at the top while the results are walked backwards.
using ResultRows = std::deque<ResultRow>;

#pragma once

// The settings that change what counts as a difference.

struct ComparisonOptions {
    // A field whose ordinal position moved counts as changed.
    bool compareFieldsOrder = false;
};

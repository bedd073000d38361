#pragma once

// The loaded tips document: the tips in document order and the one being shown.

#include "comparer/tips/Tip.h"

#include <cstddef>
#include <memory>
#include <vector>

class Tips {
public:
    // Reads a tips document of any encoding pugixml detects. Bad input is not reported: a
    // damaged document gives the tips read before the damage, an empty one none.
    static Tips load(const void* data, std::size_t size);

    std::size_t count() const { return tips_.size(); }
    int index() const { return index_; }

    // The tip at the current index, or none when the index is outside the tips.
    FormattedTextViewControl::Tip* current() const;
    // Move one tip on or back, wrapping at either end, and return current().
    FormattedTextViewControl::Tip* next();
    FormattedTextViewControl::Tip* previous();
    // An index outside the tips selects the first.
    void select(int index);

    void append(std::unique_ptr<FormattedTextViewControl::Tip> tip);

private:
    std::vector<std::unique_ptr<FormattedTextViewControl::Tip>> tips_;
    int index_ = 0;
};

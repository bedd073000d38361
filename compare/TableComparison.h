#pragma once

// Compares one pair of matched tables and appends the differences of their children. The
// table's own Changed entry is written just before the first difference found, so a table
// whose children all match leaves no entry at all.

#include "compare/ComparisonOptions.h"
#include "compare/ElementDifference.h"
#include "compare/NameMatching.h"

#include <vector>

class Table;

class TableComparison {
public:
    TableComparison(std::vector<ElementDifference>& results, const ComparisonOptions& options)
        : results_(results), options_(options) {}

    // Fields, indexes, keys, check constraints, then the table data macro.
    void compare(Table& first, Table& second);

private:
    void markTableChanged();
    void append(const Element& first, const Element& second, ElementState state);
    template <class T, class Equal>
    void compareChildren(const std::vector<std::unique_ptr<T>>& first,
                         const std::vector<std::unique_ptr<T>>& second, NameRule rule, Equal equal);
    void compareDataMacros(const Table& first, const Table& second);

    std::vector<ElementDifference>& results_;
    const ComparisonOptions& options_;
    const Table* first_ = nullptr;
    const Table* second_ = nullptr;
    bool tableChanged_ = false;
};

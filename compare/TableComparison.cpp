#include "compare/TableComparison.h"

#include "compare/ElementEquality.h"
#include "schema/EmptyElement.h"
#include "schema/Table.h"

void TableComparison::compare(Table& first, Table& second) {
    first_ = &first;
    second_ = &second;
    tableChanged_ = false;

    compareChildren(first.fields(), second.fields(), NameRule::IgnoreAsciiCase,
                    [this](Field& a, Field& b) { return fieldsEqual(a, b, options_); });
    compareChildren(first.indexes(), second.indexes(), NameRule::Exact, indexesEqual);
    compareChildren(first.keys(), second.keys(), NameRule::Exact, keysEqual);
    compareChildren(first.checkConstraints(), second.checkConstraints(), NameRule::Exact,
                    checkConstraintsEqual);
    compareDataMacros(first, second);
}

void TableComparison::markTableChanged() {
    if (tableChanged_)
        return;
    append(*first_, *second_, ElementState::Changed);
    tableChanged_ = true;
}

void TableComparison::append(const Element& first, const Element& second, ElementState state) {
    results_.push_back({&first, &second, state});
}

template <class T, class Equal>
void TableComparison::compareChildren(const std::vector<std::unique_ptr<T>>& first,
                                      const std::vector<std::unique_ptr<T>>& second, NameRule rule,
                                      Equal equal) {
    const Element& empty = EmptyElement::instance();
    pairByName(
        first, second, rule,
        [&](T& deleted) {
            markTableChanged();
            append(deleted, empty, ElementState::Deleted);
        },
        [&](T& a, T& b) {
            if (equal(a, b))
                return;
            markTableChanged();
            append(a, b, ElementState::Changed);
        },
        [&](T& added) {
            markTableChanged();
            append(empty, added, ElementState::Added);
        });
}

void TableComparison::compareDataMacros(const Table& first, const Table& second) {
    const TableDataMacro* macro1 = first.tableDataMacro();
    const TableDataMacro* macro2 = second.tableDataMacro();
    if (!macro1 && !macro2)
        return;
    if (macro1 && macro2 && macro1->content() == macro2->content())
        return;
    markTableChanged();
    if (!macro1)
        append(EmptyElement::instance(), *macro2, ElementState::Added);
    else if (!macro2)
        append(*macro1, EmptyElement::instance(), ElementState::Deleted);
    else
        append(*macro1, *macro2, ElementState::Changed);
}

#include "compare/SchemaComparison.h"

#include "compare/ElementEquality.h"
#include "compare/NameMatching.h"
#include "compare/TableComparison.h"
#include "schema/EmptyElement.h"

SchemaComparison::SchemaComparison(std::unique_ptr<Database> first,
                                   std::unique_ptr<Database> second,
                                   const ComparisonOptions& options,
                                   const DataTypeName& dataTypeNames)
    : first_(std::move(first)), second_(std::move(second)), dataTypeNames_(dataTypeNames) {
    compareTables(options);
    // A view may pair with a procedure of the same name: they share one list.
    compareNamedList(first_->viewsAndProcedures(), second_->viewsAndProcedures(), queriesEqual);
    compareNamedList(first_->forms(), second_->forms(), documentsEqual);
    compareNamedList(first_->modules(), second_->modules(), documentsEqual);
    compareNamedList(first_->macros(), second_->macros(), documentsEqual);
    compareNamedList(first_->reports(), second_->reports(), documentsEqual);
}

SchemaComparison::~SchemaComparison() = default;

std::u16string SchemaComparison::identicalText() const {
    return u"The structure of the database " + first_->name() + u" and " + second_->name() +
           u" are identical.";
}

void SchemaComparison::compareTables(const ComparisonOptions& options) {
    TableComparison tables(results_, options);
    pairByName(
        first_->tables(), second_->tables(), NameRule::IgnoreAsciiCase,
        [this](Table& deleted) { appendTableWithChildren(deleted, ElementState::Deleted); },
        [&tables](Table& a, Table& b) { tables.compare(a, b); },
        [this](Table& added) { appendTableWithChildren(added, ElementState::Added); });
}

void SchemaComparison::appendTableWithChildren(const Table& table, ElementState state) {
    const Element& empty = EmptyElement::instance();
    auto appendOne = [&](const Element& element) {
        if (state == ElementState::Added)
            append(empty, element, state);
        else
            append(element, empty, state);
    };
    appendOne(table);
    for (const auto& field : table.fields())
        appendOne(*field);
    for (const auto& index : table.indexes())
        appendOne(*index);
    for (const auto& key : table.keys())
        appendOne(*key);
    for (const auto& constraint : table.checkConstraints())
        appendOne(*constraint);
    if (table.tableDataMacro())
        appendOne(*table.tableDataMacro());
}

template <class T, class Equal>
void SchemaComparison::compareNamedList(const std::vector<std::unique_ptr<T>>& first,
                                        const std::vector<std::unique_ptr<T>>& second,
                                        Equal equal) {
    const Element& empty = EmptyElement::instance();
    pairByName(
        first, second, NameRule::Exact,
        [&](const T& deleted) { append(deleted, empty, ElementState::Deleted); },
        [&](const T& a, const T& b) {
            if (!equal(a, b))
                append(a, b, ElementState::Changed);
        },
        [&](const T& added) { append(empty, added, ElementState::Added); });
}

void SchemaComparison::append(const Element& first, const Element& second, ElementState state) {
    results_.push_back({&first, &second, state});
}

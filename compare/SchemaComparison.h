#pragma once

// The comparison of two database schemas: it owns both and, once constructed, holds the
// ordered list of their differences. Table entries come first (tables of the first
// database in their order, each followed by its children, then added tables), then views
// and procedures, forms, modules, macros and reports. Linked tables are never compared.

#include "compare/ComparisonOptions.h"
#include "compare/ElementDifference.h"
#include "schema/Database.h"

#include <memory>
#include <string>
#include <vector>

class DataTypeName;

class SchemaComparison {
public:
    // Compares at once. Writes the difference flags of matched fields, indexes, keys and
    // check constraints. The dialect is not owned; it must outlive the comparison.
    SchemaComparison(std::unique_ptr<Database> first, std::unique_ptr<Database> second,
                     const ComparisonOptions& options, const DataTypeName& dataTypeNames);
    ~SchemaComparison();
    SchemaComparison(const SchemaComparison&) = delete;
    SchemaComparison& operator=(const SchemaComparison&) = delete;

    const std::vector<ElementDifference>& results() const { return results_; }
    bool identical() const { return results_.empty(); }

    const Database& firstSchema() const { return *first_; }
    const Database& secondSchema() const { return *second_; }
    // The dialect that names column types in the texts written about this comparison.
    const DataTypeName& dataTypeNames() const { return dataTypeNames_; }

    // What the report and the script say instead when there is no difference:
    // "The structure of the database <first> and <second> are identical."
    std::u16string identicalText() const;

private:
    void compareTables(const ComparisonOptions& options);
    void appendTableWithChildren(const Table& table, ElementState state);
    // Names match exactly; an unequal pair is one Changed entry, with no container entry.
    template <class T, class Equal>
    void compareNamedList(const std::vector<std::unique_ptr<T>>& first,
                          const std::vector<std::unique_ptr<T>>& second, Equal equal);
    void append(const Element& first, const Element& second, ElementState state);

    // Declared before the results so that the entries, which point into the schemas, go
    // first when the comparison is destroyed.
    std::unique_ptr<Database> first_;
    std::unique_ptr<Database> second_;
    const DataTypeName& dataTypeNames_;
    std::vector<ElementDifference> results_;
};

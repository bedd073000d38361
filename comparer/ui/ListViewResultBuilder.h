#pragma once

// Fills the columns of one results-list row from an element. On the first side a visit
// inserts a new row at the top and fills the first database's columns; on the second side
// it fills the second database's columns of that row and sets the row's image.

#include "compare/ElementDifference.h"
#include "comparer/ui/ResultRow.h"
#include "schema/IEntityVisitor.h"

#include <string>
#include <vector>

class DataTypeName;

class ListViewResultBuilder : public IEntityVisitor {
public:
    // Neither the rows nor the dialect are owned.
    ListViewResultBuilder(ResultRows& rows, const DataTypeName& dialect, bool compareFieldsOrder);

    void setFirstSide(bool first) { firstSide_ = first; }

    void visit(const Entity::Report& report) override;
    void visit(const Entity::Module& module) override;
    void visit(const Entity::Macro& macro) override;
    void visit(const Entity::Form& form) override;
    void visit(const TableDataMacro& macro) override;
    void visit(const View& view) override;
    void visit(const TableLinkedODBC& table) override;
    void visit(const TableLinkedAccess& table) override;
    void visit(const Table& table) override;
    void visit(const Procedure& procedure) override;
    void visit(const Key& key) override;
    void visit(const Index& index) override;
    void visit(const Field& field) override;
    void visit(const EmptyElement& empty) override;
    void visit(const CheckConstraint& constraint) override;

    // The info column texts, also read by the tests.
    static std::u16string fieldInfo(const Field& field, const DataTypeName& dialect,
                                    bool compareFieldsOrder);
    static std::u16string indexInfo(const Index& index);
    static std::u16string keyInfo(const Key& key);

private:
    // The row a visit writes to: a new one at the top on the first side.
    ResultRow& row();
    // An element without columns: an empty row on the first side, nothing on the second.
    void emptyRow();
    void fill(const std::u16string& name, const std::u16string& info, int image);

    ResultRows& rows_;
    const DataTypeName& dialect_;
    bool compareFieldsOrder_;
    bool firstSide_ = true;
};

// The rows of a comparison result, in the result's order: both sides' columns, the state
// text and colour, both tooltip texts and the row object of each item.
ResultRows buildResultRows(const std::vector<ElementDifference>& results,
                           const DataTypeName& dialect, bool compareFieldsOrder);

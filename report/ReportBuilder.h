#pragma once

// Writes the text report of a comparison, one element per visit: a header with the element
// and its state, and under fields, indexes, keys and check constraints their differing
// properties, each on its own line.

#include "report/TooltipBuilder.h"

#include <string>
#include <string_view>

class Element;
class SchemaComparison;
struct ElementDifference;

class ReportBuilder : public IEntityVisitor {
public:
    // The dialect names column types; it is not owned.
    explicit ReportBuilder(const DataTypeName& dialect);

    // Empties the report and writes its first line: "Compare <first> and <second>".
    void start(std::u16string_view firstName, std::u16string_view secondName);
    // Writes one item: the second element of an added or changed item, the first element of
    // a deleted one, with the state after its name.
    void add(const ElementDifference& item);
    const std::u16string& text() const { return text_; }

    void visit(const Entity::Report& report) override;
    void visit(const Entity::Module& module) override;
    void visit(const Entity::Macro& macro) override;
    void visit(const Entity::Form& form) override;
    void visit(const TableDataMacro& macro) override;
    void visit(const View& view) override;
    void visit(const TableLinkedODBC&) override {}
    void visit(const TableLinkedAccess&) override {}
    void visit(const Table& table) override;
    void visit(const Procedure& procedure) override;
    void visit(const Key& key) override;
    void visit(const Index& index) override;
    void visit(const Field& field) override;
    void visit(const EmptyElement&) override {}
    void visit(const CheckConstraint& constraint) override;

private:
    // The line of a table part; its properties follow on lines indented by eight spaces.
    void header(std::u16string_view label, const Element& element);
    // An Access document: label and name in columns of 10 and 20 characters.
    void documentLine(std::u16string_view label, const Element& element);

    std::u16string text_;
    TooltipBuilder properties_;
    // The state suffix of the item being written: " - added", " - deleted" or " - changed".
    std::u16string_view message_;
};

// The report of a whole comparison, or the identity sentence when nothing differs.
std::u16string reportText(const SchemaComparison& comparison);

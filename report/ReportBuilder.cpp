#include "report/ReportBuilder.h"

#include "compare/SchemaComparison.h"
#include "schema/DataTypeName.h"

namespace {

constexpr std::u16string_view Indent = u"    ";

void appendPadded(std::u16string& out, std::u16string_view text, std::size_t width) {
    out += text;
    if (text.size() < width)
        out.append(width - text.size(), u' ');
}

} // namespace

ReportBuilder::ReportBuilder(const DataTypeName& dialect) : properties_(text_, dialect) {
    properties_.setSeparator(u"\r\n" + std::u16string(Indent) + std::u16string(Indent));
}

void ReportBuilder::start(std::u16string_view firstName, std::u16string_view secondName) {
    text_.clear();
    text_ += u"Compare ";
    text_ += firstName;
    text_ += u" and ";
    text_ += secondName;
    text_ += u"\r\n";
}

void ReportBuilder::add(const ElementDifference& item) {
    switch (item.state) {
    case ElementState::Added:
        message_ = u" - added";
        item.second->accept(*this);
        break;
    case ElementState::Deleted:
        message_ = u" - deleted";
        item.first->accept(*this);
        break;
    case ElementState::Changed:
        message_ = u" - changed";
        item.second->accept(*this);
        break;
    }
}

void ReportBuilder::header(std::u16string_view label, const Element& element) {
    text_ += u"\r\n";
    text_ += Indent;
    text_ += label;
    text_ += u": ";
    text_ += element.name();
    text_ += message_;
    text_ += u"\r\n";
    text_ += Indent;
    text_ += Indent;
}

void ReportBuilder::documentLine(std::u16string_view label, const Element& element) {
    text_ += u"\r\n";
    appendPadded(text_, label, 10);
    text_ += u": ";
    text_ += Indent;
    appendPadded(text_, element.name(), 20);
    text_ += Indent;
    text_ += message_;
    text_ += u"\r\n";
}

void ReportBuilder::visit(const Entity::Report& report) {
    documentLine(u"Report", report);
}

void ReportBuilder::visit(const Entity::Module& module) {
    documentLine(u"Module", module);
}

void ReportBuilder::visit(const Entity::Macro& macro) {
    documentLine(u"Macro", macro);
}

void ReportBuilder::visit(const Entity::Form& form) {
    documentLine(u"Form", form);
}

void ReportBuilder::visit(const TableDataMacro&) {
    // The macro is named after its table, which the report has just shown.
    text_ += u"\r\n";
    text_ += Indent;
    text_ += u"Table Data Macro ";
    text_ += message_;
    text_ += u"\r\n";
}

void ReportBuilder::visit(const View& view) {
    text_ += u"\r\n\r\nView: ";
    text_ += view.name();
    text_ += message_;
    text_ += u"\r\n";
    text_ += Indent;
    properties_.visit(view);
}

void ReportBuilder::visit(const Procedure& procedure) {
    visit(static_cast<const View&>(procedure));
}

void ReportBuilder::visit(const Table& table) {
    text_ += u"\r\n\r\nTable: ";
    text_ += table.name();
    text_ += message_;
}

void ReportBuilder::visit(const Key& key) {
    header(std::u16string(key.typeText()) + u" Key", key);
    properties_.visit(key);
}

void ReportBuilder::visit(const Index& index) {
    header(u"Index", index);
    properties_.visit(index);
}

void ReportBuilder::visit(const Field& field) {
    header(u"Field", field);
    properties_.visit(field);
}

void ReportBuilder::visit(const CheckConstraint& constraint) {
    header(u"Check Constraint", constraint);
    properties_.visit(constraint);
}

std::u16string reportText(const SchemaComparison& comparison) {
    if (comparison.identical())
        return comparison.identicalText();
    ReportBuilder builder(comparison.dataTypeNames());
    builder.start(comparison.firstSchema().name(), comparison.secondSchema().name());
    for (const ElementDifference& item : comparison.results())
        builder.add(item);
    return builder.text();
}

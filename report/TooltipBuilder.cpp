#include "report/TooltipBuilder.h"

#include "foundation/text/WideString.h"
#include "schema/CheckConstraint.h"
#include "schema/DataTypeName.h"
#include "schema/Field.h"
#include "schema/Index.h"
#include "schema/Key.h"
#include "schema/View.h"

TooltipBuilder::TooltipBuilder(std::u16string& output, const DataTypeName& dialect)
    : output_(output), dialect_(dialect) {}

std::u16string& TooltipBuilder::entry() {
    if (separatorPending_)
        output_ += separator_;
    else
        separatorPending_ = true;
    return output_;
}

void TooltipBuilder::visit(const TableDataMacro&) {
    begin();
}

void TooltipBuilder::visit(const TableLinkedODBC&) {
    begin();
}

void TooltipBuilder::visit(const TableLinkedAccess&) {
    begin();
}

void TooltipBuilder::visit(const Table&) {
    begin();
}

void TooltipBuilder::visit(const EmptyElement&) {
    begin();
}

void TooltipBuilder::visit(const View& view) {
    begin();
    entry() += view.text();
}

void TooltipBuilder::visit(const Procedure& procedure) {
    visit(static_cast<const View&>(procedure));
}

void TooltipBuilder::visit(const Key& key) {
    begin();
    const Key::Same& same = key.same();
    if (!same.relatedTable || !same.columns) {
        // Only a primary key names its columns; the label goes before the separator logic.
        if (key.type() == Key::Primary)
            output_ += u"column=";
        entry() += key.columnsText();
    }
    if (!same.deleteRule && !key.deleteRuleText().empty())
        entry() += key.deleteRuleText();
    if (!same.updateRule && !key.updateRuleText().empty())
        entry() += key.updateRuleText();
}

void TooltipBuilder::visit(const Index& index) {
    begin();
    const Index::Same& same = index.same();
    if (!same.columns)
        entry() += u"column=" + index.columnsText();
    if (!same.primary)
        entry() += index.isPrimaryKey() ? u"PrimaryKey" : u"not PrimaryKey";
    if (!same.unique)
        entry() += index.isUnique() ? u"Unique" : u"not Unique";
    if (!same.nulls) {
        switch (index.nulls()) {
        case 0:
            entry() += u"Nulls Allow";
            break;
        case 1:
            entry() += u"Nulls Disallow";
            break;
        case 2:
            entry() += u"Nulls Ignore";
            break;
        default: // no text, and no separator either
            break;
        }
    }
}

void TooltipBuilder::visit(const Field& field) {
    begin();
    const Field::Same& same = field.same();
    if (!same.type)
        entry() += u"type=" + std::u16string(dialect_.findType(field.type()).sqlName);
    if (!same.length)
        entry() += u"length=" + text::toWString(field.length());
    if (!same.autoincrement)
        entry() += field.isAutoincrement() ? u"autoincrement" : u"not autoincrement";
    if (!same.nullable)
        entry() += field.isNullable() ? u"nullable" : u"not nullable";
    if (!same.compression)
        entry() += field.isCompressed() ? u"with compression" : u"without compression";
    if (!same.defaultValue)
        entry() += u"default value=" + field.defaultText().value_or(u"null");
    if (!same.numericScale)
        entry() += u"numeric scale=" + text::toWString(field.numericScale());
    if (!same.precision)
        entry() += u"precision=" + text::toWString(field.precision());
    if (!same.decimalPlaces) {
        entry() += u"decimal places=" + (field.decimalPlacesKnown()
                                             ? text::toWString(field.decimalPlaces())
                                             : std::u16string(u"auto"));
    }
    if (!same.validationRule)
        entry() += u"validation rule=\"" + field.validationRule() + u"\"";
    if (!same.allowZeroLength)
        entry() +=
            field.allowsZeroLength() ? u"allow zero length=true" : u"allow zero length=false";
    if (!same.position)
        entry() += u"position=" + text::formatDefault(field.position());
    if (!same.format)
        entry() += u"format='" + field.format() + u"'";
    if (!same.expression)
        entry() += u"expression=" + field.expression();
}

void TooltipBuilder::visit(const CheckConstraint& constraint) {
    begin();
    if (!constraint.same().clause)
        entry() += u"check=" + constraint.clause();
}

#include "schema/Key.h"

#include "foundation/text/WideString.h"
#include "schema/DataTypeName.h"
#include "schema/IEntityVisitor.h"
#include "schema/Index.h"
#include "schema/Table.h"

Key::Key(Table& table, std::u16string name, std::u16string relatedTableName, int type,
         int deleteRule, int updateRule, bool notEnforced, bool oneToOne)
    : Element(std::move(name)), table_(&table), relatedTableName_(std::move(relatedTableName)),
      notEnforced_(notEnforced), oneToOne_(oneToOne), type_(type), deleteRule_(deleteRule),
      updateRule_(updateRule) {}

void Key::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}

void Key::addColumn(std::u16string column, std::u16string relatedColumn, bool descending) {
    columns_.push_back({std::move(column), std::move(relatedColumn), descending});
}

bool Key::hasColumn(std::u16string_view name) const {
    for (const KeyColumn& column : columns_) {
        if (text::equalsNoCase(column.column, name))
            return true;
    }
    return false;
}

std::vector<Field*> Key::fields() const {
    std::vector<Field*> found;
    for (const KeyColumn& column : columns_) {
        if (Field* field = table_->findField(column.column))
            found.push_back(field);
    }
    return found;
}

std::u16string_view Key::typeText() const {
    return keyTypeText(type_);
}
std::u16string_view Key::deleteRuleText() const {
    return ::deleteRuleText(deleteRule_);
}
std::u16string_view Key::updateRuleText() const {
    return ::updateRuleText(updateRule_);
}

std::u16string Key::columnsText() const {
    std::u16string text;
    for (const KeyColumn& column : columns_) {
        if (!text.empty())
            text += u", ";
        text += column.column;
        if (type_ == Foreign)
            text += u"->" + relatedTableName_ + u"." + column.relatedColumn;
        else if (column.descending)
            text += descendingMark;
    }
    return text;
}

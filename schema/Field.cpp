#include "schema/Field.h"

#include "schema/IEntityVisitor.h"

namespace {

// Types whose decimal places matter: SMALLINT, LONG, SINGLE, DOUBLE, CURRENCY, TINYINT,
// DECIMAL.
bool isNumericType(int type) {
    switch (type) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 17:
    case 131:
        return true;
    default:
        return false;
    }
}

} // namespace

bool Field::Same::all() const {
    return type && length && autoincrement && defaultValue && numericScale && precision &&
           nullable && compression && validationRule && allowZeroLength && position && format &&
           decimalPlaces && expression;
}

Field::Field(Table& table, Properties properties)
    // The base takes the name first; properties_.name is left empty and never read.
    : Element(std::move(properties.name)), table_(&table), properties_(std::move(properties)) {
    same_.decimalPlaces = !isNumericType(properties_.type);
}

void Field::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}

void Field::setExpression(std::u16string expression) {
    expression_ = std::move(expression);
    same_.expression = false;
}

void Field::setFormat(std::u16string format) {
    format_ = std::move(format);
    same_.format = false;
}

void Field::setDecimalPlaces(int places) {
    decimalPlaces_ = places;
    decimalPlacesKnown_ = true;
}

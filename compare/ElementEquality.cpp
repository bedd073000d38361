#include "compare/ElementEquality.h"

#include "foundation/text/WideString.h"
#include "schema/AccessDocument.h"
#include "schema/CheckConstraint.h"
#include "schema/Field.h"
#include "schema/Index.h"
#include "schema/Key.h"
#include "schema/View.h"

#include <algorithm>

namespace {

constexpr int AttachmentType = 101;
constexpr int GuidType = 72;

bool isOneOf(int type, std::initializer_list<int> types) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

// Types whose defined size is fixed by the type, so a stored length says nothing.
bool lengthIgnored(int type) {
    return isOneOf(type, {0,  2,  3,  4,  5,  6,   7,   11,  14,  16,  17, 18,
                          19, 20, 21, 64, 72, 131, 133, 134, 135, 201, 203});
}

// Types without numeric scale, precision or (except GUID) autoincrement.
bool scaleIgnored(int type) {
    return isOneOf(type, {0, 7, 11, 64, 72, 133, 134, 135, 201, 203});
}

// The numeric types, the only ones with decimal places.
bool hasDecimalPlaces(int type) {
    return isOneOf(type, {2, 3, 4, 5, 6, 17, 131});
}

// The text types, the only ones with zero-length and compression settings.
bool isTextType(int type) {
    return isOneOf(type, {200, 201, 202, 203});
}

} // namespace

bool fieldsEqual(Field& first, Field& second, const ComparisonOptions& options) {
    // Position, zero length and compression keep their flags unless they count here.
    Field::Same same = first.same();
    same.type = first.type() == second.type();
    same.length = first.length() == second.length();
    same.autoincrement = first.isAutoincrement() == second.isAutoincrement();
    same.defaultValue = first.defaultText() == second.defaultText();
    same.numericScale = first.numericScale() == second.numericScale();
    same.precision = first.precision() == second.precision();
    same.nullable = first.isNullable() == second.isNullable();
    same.format = first.format() == second.format();
    same.decimalPlaces = first.decimalPlacesKnown() == second.decimalPlacesKnown() &&
                         first.decimalPlaces() == second.decimalPlaces();
    same.expression = first.expression() == second.expression();

    // What does not apply to the first field's type is not a difference; when the types
    // differ the fields differ anyway.
    const int type = first.type();
    if (type != AttachmentType)
        same.expression = true;
    if (!hasDecimalPlaces(type))
        same.decimalPlaces = true;
    if (options.compareFieldsOrder)
        same.position = first.position() == second.position();
    if (isTextType(type)) {
        same.allowZeroLength = first.allowsZeroLength() == second.allowsZeroLength();
        same.compression = first.isCompressed() == second.isCompressed();
    }
    same.validationRule = first.validationRule() == second.validationRule();
    if (lengthIgnored(type))
        same.length = true;
    if (scaleIgnored(type)) {
        same.numericScale = true;
        same.precision = true;
        if (type != GuidType)
            same.autoincrement = true;
    }

    first.same() = same;
    second.same() = same;
    return same.all();
}

bool indexesEqual(Index& first, const Index& second) {
    Index::Same& same = first.same();
    same.primary = first.isPrimaryKey() == second.isPrimaryKey();
    same.unique = first.isUnique() == second.isUnique();
    same.nulls = first.nulls() == second.nulls();

    const auto& columns1 = first.columns();
    const auto& columns2 = second.columns();
    if (columns1.size() != columns2.size())
        return false;
    for (std::size_t i = 0; i < columns1.size(); ++i) {
        if (!text::equalsNoCase(columns1[i]->name(), columns2[i]->name()) ||
            first.isDescending(i) != second.isDescending(i))
            return false;
    }
    return same.primary && same.unique && same.nulls;
}

bool keysEqual(Key& first, const Key& second) {
    Key::Same& same = first.same();
    same.relatedTable = text::equalsNoCase(first.relatedTableName(), second.relatedTableName());
    same.type = first.type() == second.type();
    same.deleteRule = first.deleteRule() == second.deleteRule();
    same.updateRule = first.updateRule() == second.updateRule();

    const auto& pairs1 = first.columns();
    const auto& pairs2 = second.columns();
    if (pairs1.size() != pairs2.size()) {
        same.columns = false;
        return false;
    }
    for (const KeyColumn& pair : pairs2) {
        bool partnered = std::any_of(pairs1.begin(), pairs1.end(), [&](const KeyColumn& other) {
            return text::equalsNoCase(other.column, pair.column) &&
                   text::equalsNoCase(other.relatedColumn, pair.relatedColumn) &&
                   other.descending == pair.descending;
        });
        if (!partnered) {
            same.columns = false;
            return false;
        }
    }
    return first.name() == second.name() && same.type && same.deleteRule && same.updateRule &&
           same.relatedTable;
}

bool checkConstraintsEqual(CheckConstraint& first, const CheckConstraint& second) {
    first.same().clause = first.clause() == second.clause();
    return first.same().clause;
}

bool queriesEqual(const View& first, const View& second) {
    return first.text() == second.text();
}

bool documentsEqual(const Entity::AbstractAccessDocument& first,
                    const Entity::AbstractAccessDocument& second) {
    return first.name() == second.name() && first.content() == second.content();
}

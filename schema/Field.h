#pragma once

// One column of a table, as the readers found it, plus the flags the comparison writes to
// tell the tooltips which properties differ from the matched column.

#include "foundation/engine/api/Variant.h"
#include "schema/Element.h"

#include <optional>
#include <string>

class Table;

class Field final : public Element {
public:
    // What the catalog reader takes from a column, all at once.
    struct Properties {
        std::u16string name{};
        int type = 0; // column type code, named by DataTypeName
        int length = 0;
        bool autoincrement = false;
        engine::Variant defaultValue{};
        std::optional<std::u16string> defaultText{}; // absent when there is no default
        int numericScale = 0;
        int precision = 0;
        bool nullable = false;
        bool compressed = false;
        std::u16string validationRule{};
        bool allowZeroLength = false;
    };

    // One flag per property: true when it equals the matched field's property or need not
    // be shown; false marks it for display as different.
    struct Same {
        bool type = false;
        bool length = false;
        bool autoincrement = false;
        bool defaultValue = false;
        bool numericScale = false;
        bool precision = false;
        bool nullable = false;
        bool compression = true;
        bool validationRule = true;
        bool allowZeroLength = true;
        bool position = true;
        bool format = true;
        bool decimalPlaces = true;
        bool expression = true;

        bool all() const;
    };

    // The table is not owned: it owns the field once added to it.
    Field(Table& table, Properties properties);

    void accept(IEntityVisitor& visitor) const override;
    ElementKind kind() const override { return ElementKind::Field; }

    Table& table() const { return *table_; }
    int type() const { return properties_.type; }
    int length() const { return properties_.length; }
    bool isAutoincrement() const { return properties_.autoincrement; }
    const engine::Variant& defaultValue() const { return properties_.defaultValue; }
    const std::optional<std::u16string>& defaultText() const { return properties_.defaultText; }
    int numericScale() const { return properties_.numericScale; }
    int precision() const { return properties_.precision; }
    bool isNullable() const { return properties_.nullable; }
    bool isCompressed() const { return properties_.compressed; }
    const std::u16string& validationRule() const { return properties_.validationRule; }
    bool allowsZeroLength() const { return properties_.allowZeroLength; }
    const std::u16string& expression() const { return expression_; }
    bool hasExpression() const { return !expression_.empty(); }
    const std::u16string& format() const { return format_; }
    // 255 means automatic; known only when a value was read.
    int decimalPlaces() const { return decimalPlaces_; }
    bool decimalPlacesKnown() const { return decimalPlacesKnown_; }
    double position() const { return position_; }

    // A field without a counterpart shows its expression and format only when it has them,
    // so setting either marks it as a difference.
    void setExpression(std::u16string expression);
    void setFormat(std::u16string format);
    void setDecimalPlaces(int places);
    void setAllowZeroLength(bool allow) { properties_.allowZeroLength = allow; }
    void setType(int type) { properties_.type = type; }
    void setPrecision(int precision) { properties_.precision = precision; }
    void setPosition(double position) { position_ = position; }

    const Same& same() const { return same_; }
    Same& same() { return same_; }

private:
    Table* table_;
    Properties properties_;
    std::u16string expression_;
    std::u16string format_;
    bool decimalPlacesKnown_ = false;
    int decimalPlaces_ = 255;
    double position_ = 0;
    Same same_;
};

#pragma once

// The script dialect: names of column types, identifier quotes, value literals and the
// switches that tell the statement generator which Access-only statements it may write.

#include "foundation/engine/api/Variant.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class Field;

// One column type code of the database engine with its names.
struct TypeNameEntry {
    int code;
    std::u16string_view sqlName;
    // Lower-case descriptive name; nothing but the table reads it.
    std::u16string_view secondName;
};

// Texts of a key's type (1 primary, 2 foreign, 3 unique) and of its update and delete rules
// (1 cascade, 2 set null, 3 set default); any other value gives the empty text.
std::u16string_view keyTypeText(int type);
std::u16string_view updateRuleText(int rule);
std::u16string_view deleteRuleText(int rule);

// Abstract dialect. It is never deleted through this class (the destructor is protected),
// so it needs no virtual destructor.
class DataTypeName {
public:
    DataTypeName(const DataTypeName&) = delete;
    DataTypeName& operator=(const DataTypeName&) = delete;

    // The first entry with this code, else the fallback entry "UNKNOWN".
    const TypeNameEntry& findType(int code) const;
    std::span<const TypeNameEntry> typeTable() const { return typeTable_; }

    std::u16string_view autoincrementText() const { return autoincrementText_; }
    std::u16string_view compressionText() const { return compressionText_; }
    bool zeroLengthSupported() const { return zeroLengthSupported_; }
    bool accessPropertiesSupported() const { return accessPropertiesSupported_; }
    bool decimalPlacesSupported() const { return decimalPlacesSupported_; }
    bool expressionsSupported() const { return expressionsSupported_; }
    int foreignKeyUniqueSuppressed() const { return foreignKeyUniqueSuppressed_; }
    int foreignKeyUniqueAllowed() const { return foreignKeyUniqueAllowed_; }
    // Whether a one-to-one foreign key gets its " UNIQUE" marker.
    bool writesForeignKeyUnique() const {
        return foreignKeyUniqueSuppressed_ == 0 && foreignKeyUniqueAllowed_ != 0;
    }
    const std::u16string& openingQuote() const { return openingQuote_; }
    const std::u16string& closingQuote() const { return closingQuote_; }
    const std::u16string& firstTableSuffix() const { return firstTableSuffix_; }
    const std::u16string& secondTableSuffix() const { return secondTableSuffix_; }
    bool noIndexSupported() const { return noIndexSupported_; }

    // Turns a text into a string literal of the dialect, in place.
    virtual void textLiteral(std::u16string& text) const = 0;
    // Appends the literal of a byte array.
    virtual void byteArrayLiteral(std::span<const std::uint8_t> bytes,
                                  std::u16string& out) const = 0;
    // Replaces out with the text of a value as the dialect shows it.
    virtual void valueText(const engine::Variant& value, std::u16string& out) const = 0;
    // Called by the statement generator with the target category before and after the text
    // of a view or procedure; a dialect that needs separators writes them here.
    virtual void beforeViewText(int category) = 0;
    virtual void afterViewText(int category) = 0;
    // Hooks around a named statement of a category, for dialects that need them.
    virtual void beforeStatement(int category, std::u16string_view name) = 0;
    virtual void afterStatement(int category, std::u16string_view name) = 0;
    // Appends the default of a field as a column definition's DEFAULT clause writes it.
    virtual void defaultValueText(std::u16string& out, const Field& field) const = 0;
    virtual std::u16string terminator() const { return terminator_; }

protected:
    DataTypeName(std::span<const TypeNameEntry> typeTable, std::u16string_view autoincrementText,
                 std::u16string_view compressionText, bool zeroLengthSupported,
                 bool accessPropertiesSupported, bool decimalPlacesSupported,
                 bool expressionsSupported, int foreignKeyUniqueSuppressed,
                 std::u16string terminator);
    ~DataTypeName() = default;

private:
    std::span<const TypeNameEntry> typeTable_;
    std::u16string_view autoincrementText_;
    std::u16string_view compressionText_;
    bool zeroLengthSupported_;
    bool accessPropertiesSupported_;
    bool decimalPlacesSupported_;
    bool expressionsSupported_;
    int foreignKeyUniqueSuppressed_;
    std::u16string terminator_;
    std::u16string openingQuote_ = u"[";
    std::u16string closingQuote_ = u"]";
    int foreignKeyUniqueAllowed_ = 1;
    std::u16string firstTableSuffix_;
    std::u16string secondTableSuffix_;
    bool noIndexSupported_ = true;
};

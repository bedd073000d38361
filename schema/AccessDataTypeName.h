#pragma once

// The Access flavour of the script dialect, the only one the programs use.

#include "schema/DataTypeName.h"

class AccessDataTypeName : public DataTypeName {
public:
    AccessDataTypeName();

    // "a" & chr(10) & "b": control characters cannot appear inside an Access string literal.
    void textLiteral(std::u16string& text) const override;
    // base64("...") with the Base64 text in lines of 72 characters, each ended by "\r\n".
    void byteArrayLiteral(std::span<const std::uint8_t> bytes, std::u16string& out) const override;
    // "NULL" for null and for values without a text, "[Binary Object]" for arrays, a string
    // unchanged, a date between "#" signs, anything else in the invariant locale.
    void valueText(const engine::Variant& value, std::u16string& out) const override;
    void beforeViewText(int) override {}
    void afterViewText(int) override {}
    void beforeStatement(int, std::u16string_view) override {}
    void afterStatement(int, std::u16string_view) override {}
    // DATETIME defaults become quoted texts ("#1/1/2000#" -> "'1/1/2000'", "2000-01-01" ->
    // "'2000-01-01'", "Now ( )" -> "Now()"); other types keep the stored text.
    void defaultValueText(std::u16string& out, const Field& field) const override;
};

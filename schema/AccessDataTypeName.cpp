#include "schema/AccessDataTypeName.h"

#include "foundation/text/WideString.h"
#include "schema/Base64Text.h"
#include "schema/Field.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<TypeNameEntry, 40> accessTypes{{
    {2, u"SMALLINT", u"small int"},
    {3, u"LONG", u"integer"},
    {4, u"SINGLE", u"single"},
    {5, u"DOUBLE", u"double"},
    {6, u"CURRENCY", u"currency"},
    {7, u"DATETIME", u"date"},
    {17, u"TINYINT", u"unsigned tiny int"},
    {131, u"DECIMAL", u"numeric"},
    {11, u"BIT", u"boolean"},
    {72, u"UNIQUEIDENTIFIER", u"GUID"},
    {129, u"CHAR", u"char"},
    {130, u"CHARACTER", u"wchar"},
    {202, u"TEXT", u"varwchar"},
    {203, u"MEMO", u"long varwchar"},
    {204, u"BINARY", u"varbinary"},
    {205, u"IMAGE", u"long varbinary"},
    {101, u"ATTACHMENT", u"attachment"},
    {8, u"BSTR", u"BSTR"},
    {0, u"empty", u"empty"},
    {16, u"tiny int", u"tiny int"},
    {20, u"big int", u"big int"},
    {18, u"unsigned small int", u"unsigned small int"},
    {19, u"unsigned int", u"unsigned int"},
    {21, u"unsigned big int", u"unsigned big int"},
    {14, u"decimal", u"decimal"},
    {10, u"error", u"error"},
    {132, u"user defined", u"user defined"},
    {12, u"variant", u"variant"},
    {9, u"IDispatch", u"IDispatch"},
    {13, u"IUnknown", u"IUnknown"},
    {133, u"db date", u"db date"},
    {134, u"db time", u"db time"},
    // The engine reports Date/Time Extended with this code; the script must create it.
    {135, u"DATETIME2", u"db timestamp"},
    {200, u"varchar", u"varchar"},
    {201, u"long varchar", u"long varchar"},
    {128, u"binary", u"binary"},
    {136, u"chapter", u"chapter"},
    {64, u"filetime", u"filetime"},
    {138, u"prop variant", u"prop variant"},
    {139, u"varnumeric", u"varnumeric"},
}};

constexpr int dateTimeType = 7;

bool isControl(char16_t c) {
    return c < 32;
}

} // namespace

AccessDataTypeName::AccessDataTypeName()
    : DataTypeName(accessTypes, u"AUTOINCREMENT", u" WITH COMPRESSION", true, true, true, true, 0,
                   u"") {}

void AccessDataTypeName::textLiteral(std::u16string& text) const {
    if (text.empty()) {
        text = u"\"\"";
        return;
    }
    std::u16string doubled;
    for (char16_t c : text) {
        doubled += c;
        if (c == u'"')
            doubled += c;
    }

    // Quoted runs of ordinary characters joined with chr(n) for each control character.
    std::u16string literal;
    bool afterControl = false;
    for (std::size_t i = 0; i < doubled.size(); ++i) {
        const char16_t c = doubled[i];
        const bool first = i == 0;
        const bool last = i + 1 == doubled.size();
        if (isControl(c)) {
            if (!first && !afterControl)
                literal += u"\" & ";
            literal += u"chr(" + text::toWString(c) + u")";
            if (!last)
                literal += u" & ";
            afterControl = true;
        } else {
            if (afterControl || first)
                literal += u'"';
            literal += c;
            afterControl = false;
        }
    }
    if (!afterControl)
        literal += u'"';
    text = std::move(literal);
}

void AccessDataTypeName::byteArrayLiteral(std::span<const std::uint8_t> bytes,
                                          std::u16string& out) const {
    out += u"base64(\"";
    out += base64Text(bytes);
    out += u"\")";
}

void AccessDataTypeName::valueText(const engine::Variant& value, std::u16string& out) const {
    if (value.isNull()) {
        out = u"NULL";
        return;
    }
    if (value.isString()) {
        out = value.asString();
        return;
    }
    if (value.isByteArray()) {
        out = u"[Binary Object]";
        return;
    }
    std::optional<std::u16string> converted = value.toText();
    if (!converted) {
        out = u"NULL";
        return;
    }
    if (value.type() == engine::VarType::Date)
        out = u"#" + *converted + u"#";
    else
        out = std::move(*converted);
}

void AccessDataTypeName::defaultValueText(std::u16string& out, const Field& field) const {
    if (!field.defaultText())
        return;
    std::u16string text = *field.defaultText();
    if (field.type() != dateTimeType || text.empty()) {
        out += text;
        return;
    }
    if (text.front() == u'#' && text.back() == u'#') {
        text.front() = u'\'';
        text.back() = u'\'';
    } else if (text.front() >= u'0' && text.front() <= u'9') {
        text = u"'" + text + u"'";
    } else {
        std::erase(text, u' ');
    }
    out += text;
}

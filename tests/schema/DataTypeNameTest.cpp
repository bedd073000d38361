#include "schema/AccessDataTypeName.h"
#include "schema/Base64Text.h"
#include "schema/Field.h"
#include "schema/Table.h"

#include <cryptopp/base64.h>
#include <cryptopp/filters.h>
#include <gtest/gtest.h>

#include <set>

namespace {

using engine::Variant;

std::u16string literal(std::u16string text) {
    AccessDataTypeName().textLiteral(text);
    return text;
}

std::u16string valueText(const Variant& value) {
    std::u16string out = u"previous";
    AccessDataTypeName().valueText(value, out);
    return out;
}

std::u16string defaultText(int type, std::optional<std::u16string> stored) {
    Table table(u"t");
    Field field(table, {.name = u"f", .type = type, .defaultText = std::move(stored)});
    std::u16string out = u"DEFAULT ";
    AccessDataTypeName().defaultValueText(out, field);
    return out;
}

std::vector<std::uint8_t> bytesOfLength(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return bytes;
}

std::vector<std::uint8_t> decodeBase64(const std::u16string& text) {
    std::string narrow(text.begin(), text.end());
    std::string decoded;
    CryptoPP::StringSource source(narrow, true,
                                  new CryptoPP::Base64Decoder(new CryptoPP::StringSink(decoded)));
    return {decoded.begin(), decoded.end()};
}

} // namespace

TEST(DataTypeName, FindTypeFallsBackToUnknownOnlyForAbsentCodes) {
    AccessDataTypeName dialect;
    EXPECT_EQ(dialect.findType(203).sqlName, u"MEMO");
    EXPECT_EQ(dialect.findType(202).sqlName, u"TEXT");
    EXPECT_EQ(dialect.findType(101).sqlName, u"ATTACHMENT");
    EXPECT_EQ(dialect.findType(0).sqlName, u"empty");
    EXPECT_EQ(dialect.findType(139).sqlName, u"varnumeric");
    for (int code : {999, -1, 1, 206}) {
        const TypeNameEntry& unknown = dialect.findType(code);
        EXPECT_EQ(unknown.sqlName, u"UNKNOWN") << code;
        EXPECT_EQ(unknown.secondName, u"unknown data type");
        EXPECT_EQ(unknown.code, 0);
    }
}

TEST(DataTypeName, TypeTableHasFortyDistinctCodesAndUpperCaseNamesFirst) {
    AccessDataTypeName dialect;
    auto table = dialect.typeTable();
    ASSERT_EQ(table.size(), 40u);
    std::set<int> codes;
    for (std::size_t i = 0; i < table.size(); ++i) {
        codes.insert(table[i].code);
        // Date/Time Extended keeps its row, under the name DDL creates it by.
        bool dateTimeExtended = table[i].code == 135;
        EXPECT_EQ(table[i].sqlName != table[i].secondName, i < 17 || dateTimeExtended) << i;
        EXPECT_EQ(&dialect.findType(table[i].code), &table[i]);
    }
    EXPECT_EQ(codes.size(), 40u);
    EXPECT_EQ(table[16].sqlName, u"ATTACHMENT");
    EXPECT_EQ(table[9].secondName, u"GUID");
}

TEST(DataTypeName, KeyAndRuleTextsAreEmptyOutsideOneToThree) {
    EXPECT_EQ(keyTypeText(1), u"Primary");
    EXPECT_EQ(keyTypeText(2), u"Foreign");
    EXPECT_EQ(keyTypeText(3), u"Unique");
    EXPECT_EQ(updateRuleText(1), u"Cascade Update");
    EXPECT_EQ(updateRuleText(2), u"Null Update");
    EXPECT_EQ(deleteRuleText(3), u"Default Delete");
    for (int outside : {0, -1, 4, 1000}) {
        EXPECT_TRUE(keyTypeText(outside).empty());
        EXPECT_TRUE(updateRuleText(outside).empty());
        EXPECT_TRUE(deleteRuleText(outside).empty());
    }
}

TEST(DataTypeName, AccessDialectValues) {
    AccessDataTypeName dialect;
    EXPECT_EQ(dialect.autoincrementText(), u"AUTOINCREMENT");
    EXPECT_EQ(dialect.compressionText(), u" WITH COMPRESSION");
    EXPECT_TRUE(dialect.zeroLengthSupported());
    EXPECT_TRUE(dialect.accessPropertiesSupported());
    EXPECT_TRUE(dialect.decimalPlacesSupported());
    EXPECT_TRUE(dialect.expressionsSupported());
    EXPECT_EQ(dialect.foreignKeyUniqueSuppressed(), 0);
    EXPECT_EQ(dialect.foreignKeyUniqueAllowed(), 1);
    EXPECT_TRUE(dialect.writesForeignKeyUnique());
    EXPECT_EQ(dialect.terminator(), u"");
    EXPECT_EQ(dialect.openingQuote(), u"[");
    EXPECT_EQ(dialect.closingQuote(), u"]");
    EXPECT_EQ(dialect.firstTableSuffix(), u"");
    EXPECT_EQ(dialect.secondTableSuffix(), u"");
    EXPECT_TRUE(dialect.noIndexSupported());
}

TEST(TextLiteral, QuotesAndDoublesQuotes) {
    EXPECT_EQ(literal(u""), u"\"\"");
    EXPECT_EQ(literal(u"\""), u"\"\"\"\"");
    EXPECT_EQ(literal(u"abc"), u"\"abc\"");
    EXPECT_EQ(literal(u"say \"hi\""), u"\"say \"\"hi\"\"\"");
    EXPECT_EQ(literal(u"x"), u"\"x\"");
    EXPECT_EQ(literal(u"\u00e9\u20ac"), u"\"\u00e9\u20ac\"");
}

TEST(TextLiteral, ControlCharactersBecomeChrCalls) {
    EXPECT_EQ(literal(u"\n"), u"chr(10)");
    EXPECT_EQ(literal(u"ab\ncd"), u"\"ab\" & chr(10) & \"cd\"");
    EXPECT_EQ(literal(u"\tab"), u"chr(9) & \"ab\"");
    EXPECT_EQ(literal(u"ab\r\n"), u"\"ab\" & chr(13) & chr(10)");
    EXPECT_EQ(literal(u"a\r\nb"), u"\"a\" & chr(13) & chr(10) & \"b\"");
    EXPECT_EQ(literal(std::u16string(1, u'\0')), u"chr(0)");
    EXPECT_EQ(literal(u"\x1f "), u"chr(31) & \" \"");
    EXPECT_EQ(literal(u"\"\n\""), u"\"\"\"\" & chr(10) & \"\"\"\"");
}

TEST(Base64Text, KnownValueAndEmptyInput) {
    const std::uint8_t hello[] = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(base64Text(hello), u"aGVsbG8=\r\n");
    // The encoder ends every message with a line break, even an empty one.
    EXPECT_EQ(base64Text({}), u"\r\n");
}

TEST(Base64Text, LinesOfSeventyTwoEndedByCrLf) {
    // 54 bytes fill exactly one line of 72 characters.
    for (std::size_t n : {1u, 2u, 3u, 53u, 54u, 55u, 108u, 109u, 500u}) {
        std::vector<std::uint8_t> bytes = bytesOfLength(n);
        std::u16string text = base64Text(bytes);
        const std::size_t encoded = (n + 2) / 3 * 4;
        const std::size_t lines = (encoded + 71) / 72;
        ASSERT_EQ(text.size(), encoded + 2 * lines) << n;

        std::size_t start = 0;
        for (std::size_t line = 0; line < lines; ++line) {
            std::size_t end = text.find(u"\r\n", start);
            ASSERT_NE(end, std::u16string::npos) << n;
            EXPECT_EQ(end - start, line + 1 < lines ? 72u : encoded - 72 * (lines - 1)) << n;
            start = end + 2;
        }
        EXPECT_EQ(start, text.size()) << n;
        EXPECT_EQ(text.find(u"\n\r"), std::u16string::npos);
        EXPECT_EQ(decodeBase64(text), bytes) << n;
    }
}

TEST(Base64Text, ByteArrayLiteralAppendsTheBase64Call) {
    const std::uint8_t bytes[] = {0, 255};
    std::u16string out = u"SET ";
    AccessDataTypeName().byteArrayLiteral(bytes, out);
    EXPECT_EQ(out, u"SET base64(\"AP8=\r\n\")");
}

TEST(ValueText, NullArraysAndFailedConversionsGiveFixedTexts) {
    EXPECT_EQ(valueText(Variant::null()), u"NULL");
    EXPECT_EQ(valueText(Variant(Variant::Bytes{1, 2, 3})), u"[Binary Object]");
    EXPECT_EQ(valueText(Variant(Variant::Bytes{})), u"[Binary Object]");
    EXPECT_EQ(valueText(Variant(engine::Date{1e9})), u"NULL");
    EXPECT_EQ(valueText(Variant()), u"");
}

TEST(ValueText, StringsUnchangedOtherValuesInvariantDatesBetweenHashes) {
    EXPECT_EQ(valueText(Variant(u"  a \"b\"")), u"  a \"b\"");
    EXPECT_EQ(valueText(Variant(u"")), u"");
    EXPECT_EQ(valueText(Variant(2.5)), u"2.5");
    EXPECT_EQ(valueText(Variant(true)), u"-1");
    EXPECT_EQ(valueText(Variant(std::int32_t(-42))), u"-42");
    EXPECT_EQ(valueText(Variant(engine::Date{36526.5})), u"#01/01/2000 12:00:00#");
    EXPECT_EQ(valueText(Variant(engine::Date{36526.0})), u"#01/01/2000#");
}

TEST(DefaultValueText, DateTimeDefaultsAreQuotedForTheDialect) {
    EXPECT_EQ(defaultText(7, u"#1/1/2000#"), u"DEFAULT '1/1/2000'");
    EXPECT_EQ(defaultText(7, u"2000-01-01"), u"DEFAULT '2000-01-01'");
    EXPECT_EQ(defaultText(7, u"Now ( )"), u"DEFAULT Now()");
    EXPECT_EQ(defaultText(7, u" Date() "), u"DEFAULT Date()");
    EXPECT_EQ(defaultText(7, u"#"), u"DEFAULT '");
    // Only a hash at both ends is replaced; a lone leading hash is just blank-stripped.
    EXPECT_EQ(defaultText(7, u"#1/1/2000 #x"), u"DEFAULT #1/1/2000#x");
}

TEST(DefaultValueText, EmptyAbsentAndOtherTypesAreWrittenAsStored) {
    EXPECT_EQ(defaultText(7, u""), u"DEFAULT ");
    EXPECT_EQ(defaultText(7, std::nullopt), u"DEFAULT ");
    EXPECT_EQ(defaultText(202, u"Now ( )"), u"DEFAULT Now ( )");
    EXPECT_EQ(defaultText(202, u"#1/1/2000#"), u"DEFAULT #1/1/2000#");
    EXPECT_EQ(defaultText(3, u"  7"), u"DEFAULT   7");
    EXPECT_EQ(defaultText(3, std::nullopt), u"DEFAULT ");
}

#include "ParserTestSupport.h"
#include "RecordingExecutor.h"

#include "runner/sqlexecutor/CommandError.h"
#include "runner/sqlexecutor/ParametrizedCommands.h"

#include <gtest/gtest.h>

#include <bit>

using namespace SQLExecutor;

namespace {

std::uint64_t doubleBits(const Parameter& parameter) {
    EXPECT_EQ(parameter.value.type(), engine::VarType::Double);
    EXPECT_EQ(parameter.size, 8u);
    return std::bit_cast<std::uint64_t>(parameter.value.toDouble().value_or(0));
}

std::u16string stringValue(const Parameter& parameter) {
    EXPECT_EQ(parameter.value.type(), engine::VarType::String);
    return parameter.value.isString() ? parameter.value.asString() : u"";
}

} // namespace

TEST(InsertRewrite, TextExpressionWithChrBecomesOneStringParameter) {
    auto insert = parseOne<SQLCommandInsertChr>(
        u"INSERT INTO [T] ([A], [B], [C]) VALUES (\"x\" & chr(13) & chr(10) & \"y\", 5, 6);");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->sql(), u"INSERT INTO [T] ([A], [B], [C]) VALUES (?, 5,  6)");
    ASSERT_EQ(insert->parameters().size(), 1u);
    EXPECT_EQ(stringValue(insert->parameters()[0]), u"x\r\ny");
    EXPECT_EQ(insert->parameters()[0].size, 4u);
    EXPECT_TRUE(insert->rewriteError().empty());
    EXPECT_EQ(insert->text(),
              u"INSERT INTO [T] ([A], [B], [C]) VALUES (\"x\" & chr(13) & chr(10) & \"y\", 5, 6)");
}

TEST(InsertRewrite, LiteralThatOnlyMentionsChrStaysALiteral) {
    auto insert =
        parseOne<SQLCommandInsertChr>(u"INSERT INTO [Products] ([Name]) VALUES (\"Chrome\");");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->sql(), u"INSERT INTO [Products] ([Name]) VALUES (\"Chrome\")");
    EXPECT_TRUE(insert->parameters().empty());
}

TEST(InsertRewrite, AdjacentLiteralsMergeAndDoubledQuotesStayDoubled) {
    auto insert = parseOne<SQLCommandInsertChr>(
        u"INSERT INTO T (A, B) VALUES (\"say \"\"hi\"\"\" & \" chr\",chr(1));");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->sql(), u"INSERT INTO T (A, B) VALUES (\"say \"\"hi\"\" chr\", ?)");
    ASSERT_EQ(insert->parameters().size(), 1u);
    EXPECT_EQ(stringValue(insert->parameters()[0]), std::u16string(1, u'\x01'));
}

TEST(InsertRewrite, DoubledQuotesBecomeOneWhenChrIsUsed) {
    auto insert = parseOne<SQLCommandInsertChr>(
        u"INSERT INTO T (A) VALUES (\"a\"\"b\" & chr(34) & CHR(34) & Chr() & chr(65601));");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->sql(), u"INSERT INTO T (A) VALUES (?)");
    ASSERT_EQ(insert->parameters().size(), 1u);
    // chr() is character 0; the code keeps its low 16 bits (65601 = 0x10041).
    EXPECT_EQ(stringValue(insert->parameters()[0]), std::u16string(u"a\"b\"\0A", 6));
    EXPECT_EQ(insert->parameters()[0].size, 6u);
}

TEST(InsertRewrite, FourSpecialNumbersKeepTheirBits) {
    auto insert = parseOne<SQLCommandInsertChr>(
        u"INSERT INTO [T] ([A], [B], [C], [D], [E]) VALUES (-1.#QNAN, 1.#qnan ,-1.#INF, "
        u"1.#Inf,2);");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->sql(), u"INSERT INTO [T] ([A], [B], [C], [D], [E]) VALUES (?, ?, ?, ?, 2)");
    ASSERT_EQ(insert->parameters().size(), 4u);
    EXPECT_EQ(doubleBits(insert->parameters()[0]), 0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(doubleBits(insert->parameters()[1]), 0x7FF8000000000001ull);
    EXPECT_EQ(doubleBits(insert->parameters()[2]), 0xFFF0000000000000ull);
    EXPECT_EQ(doubleBits(insert->parameters()[3]), 0x7FF0000000000000ull);

    auto negativeInfinity =
        parseOne<SQLCommandInsertChr>(u"INSERT INTO [T] ([D]) VALUES (-1.#INF);");
    ASSERT_TRUE(negativeInfinity);
    ASSERT_EQ(negativeInfinity->parameters().size(), 1u);
    EXPECT_EQ(negativeInfinity->parameters()[0].value.toDouble(),
              -std::numeric_limits<double>::infinity());
}

TEST(InsertRewrite, Base64ValueBecomesAByteArray) {
    auto insert = parseOne<SQLCommandInsertChr>(
        u"INSERT INTO [T] ([Id], [Blob], [Name]) VALUES (1, BASE64(\"QU\nJD\") , \"n\");");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->sql(), u"INSERT INTO [T] ([Id], [Blob], [Name]) VALUES (1, ?, \"n\")");
    ASSERT_EQ(insert->parameters().size(), 1u);
    const Parameter& blob = insert->parameters()[0];
    EXPECT_EQ(blob.value.type(), engine::VarType::ByteArray);
    EXPECT_EQ(blob.value.asBytes(), (engine::Variant::Bytes{0x41, 0x42, 0x43}));
    EXPECT_EQ(blob.size, 3u);
}

TEST(InsertRewrite, ValuesThatNoKindTakesArePlain) {
    // A broken text expression, an unterminated base64 value and a date stay as written.
    auto insert = parseOne<SQLCommandInsertChr>(
        u"INSERT INTO T (A, B, C) VALUES (\"a\" + chr(1), base64(\"QUJD, #1/2/2000#);");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->sql(),
              u"INSERT INTO T (A, B, C) VALUES (\"a\" + chr(1),  base64(\"QUJD,  #1/2/2000#)");
    EXPECT_TRUE(insert->parameters().empty());
}

TEST(UpdateRewrite, AssignmentsWithChrAndBase64) {
    auto update = parseOne<SQLCommandUpdate>(
        u"UPDATE [T] SET [Name]=chr(65) & \"b\", [N] = 5, [Data]= base64(\"QQ==\") WHERE [Id]=1;");
    ASSERT_TRUE(update);
    EXPECT_EQ(update->sql(), u"UPDATE [T] SET [Name]=?, [N] = 5, [Data]=? WHERE [Id]=1");
    ASSERT_EQ(update->parameters().size(), 2u);
    EXPECT_EQ(stringValue(update->parameters()[0]), u"Ab");
    EXPECT_EQ(update->parameters()[1].value.asBytes(), (engine::Variant::Bytes{0x41}));
    EXPECT_TRUE(update->rewriteError().empty());
}

TEST(UpdateRewrite, SpecialNumbersAreNotParametersInUpdate) {
    auto update = parseOne<SQLCommandUpdate>(u"UPDATE T SET A=1.#INF, B=chr(66) WHERE C=1;");
    ASSERT_TRUE(update);
    EXPECT_EQ(update->sql(), u"UPDATE T SET A=1.#INF, B=? WHERE C=1");
    EXPECT_EQ(update->parameters().size(), 1u);
}

TEST(UpdateRewrite, AssignmentWithoutEqualsFailsWhenExecuted) {
    // The comma inside Format(...) splits the plain value; what follows has no "=".
    auto update =
        parseOne<SQLCommandUpdate>(u"UPDATE T SET A=chr(65), B=Format(C, \"0.00\") WHERE D=1;");
    ASSERT_TRUE(update);
    EXPECT_EQ(update->rewriteError(),
              u"Can't rewrite the UPDATE statement: the assignment \"\"0.00\")\" has no \"=\". "
              u"Values with commas of their own cannot be combined with chr() or base64() "
              u"values in one UPDATE.");
    RecordingExecutor executor;
    try {
        update->execute(executor);
        FAIL() << "the command ran";
    } catch (const CommandError& error) {
        EXPECT_EQ(error.message(), update->rewriteError());
    }
    EXPECT_TRUE(executor.calls.empty());

    auto good = parseOne<SQLCommandUpdate>(u"UPDATE T SET A=chr(65) WHERE D=1;");
    ASSERT_TRUE(good);
    good->execute(executor);
    EXPECT_EQ(executor.calls, std::vector<std::string>{"Parametrized"});
}

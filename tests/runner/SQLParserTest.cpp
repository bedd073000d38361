#include "ParserTestSupport.h"
#include "runner/sqlexecutor/QueryCommands.h"

#include <gtest/gtest.h>

using namespace SQLExecutor;

namespace {

std::vector<std::u16string> texts(const std::u16string& script) {
    std::vector<std::u16string> result;
    for (const auto& command : parseScript(script))
        result.push_back(command->text());
    return result;
}

} // namespace

TEST(SQLParser, OneLineStatement) {
    auto commands = parseScript(u"SELECT 1;\n");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(typeid(*commands[0]), typeid(SQLCommand));
    EXPECT_EQ(commands[0]->text(), u"SELECT 1");
    EXPECT_EQ(commands[0]->lineNumber(), 1);
}

TEST(SQLParser, LineNumbersAndCharactersRead) {
    std::u16string script = u"-- header\r\n\r\nSELECT a,\r\n  b\r\nFROM t ;\r\n"
                            u"SELECT 2\r\n\r\n\r\n";
    Libs::Text::StringStream stream(script);
    SQLParser parser(stream);
    auto first = parser.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text(), u"SELECT a, b FROM t");
    EXPECT_EQ(first->lineNumber(), 3);
    EXPECT_EQ(parser.charactersRead(), 11 + 2 + 11 + 5 + 10);
    // The last statement has no ";": it takes the number of the last line read.
    auto last = parser.next();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->text(), u"SELECT 2");
    EXPECT_EQ(last->lineNumber(), 8);
    EXPECT_EQ(parser.charactersRead(), std::int64_t(script.size()));
    EXPECT_FALSE(parser.next());
    EXPECT_FALSE(parser.next());
}

TEST(SQLParser, CommentAndEmptyLinesAreDroppedInsideStatements) {
    EXPECT_EQ(texts(u"SELECT a\n   -- the second column\n\n\t, b FROM t;\n- 1;\n-;\n"),
              (std::vector<std::u16string>{u"SELECT a , b FROM t", u"- 1", u"-"}));
    // "--" ends nothing when it is not at the start of the line.
    EXPECT_EQ(texts(u"SELECT 1 -- one;\n"), std::vector<std::u16string>{u"SELECT 1 -- one"});
}

TEST(SQLParser, OnlyALineEndingInSemicolonEndsAStatement) {
    EXPECT_EQ(texts(u"A; B;"), std::vector<std::u16string>{u"A; B"});
    EXPECT_EQ(texts(u"A;\t \nB"), (std::vector<std::u16string>{u"A", u"B"}));
    // Lines are joined by one blank, also inside a string literal, which a line ending in
    // ";" ends.
    EXPECT_EQ(texts(u"INSERT INTO t VALUES ('a\n    b;\nc');"),
              (std::vector<std::u16string>{u"INSERT INTO t VALUES ('a b", u"c')"}));
}

TEST(SQLParser, LoneSemicolonIsAnEmptyPlainCommand) {
    auto commands = parseScript(u"\n;\n  ;  \n");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0]->text(), u"");
    EXPECT_EQ(commands[0]->lineNumber(), 2);
    EXPECT_EQ(typeid(*commands[1]), typeid(SQLCommand));
}

TEST(SQLParser, EmptyAndBlankScriptsHaveNoCommand) {
    EXPECT_TRUE(parseScript(u"").empty());
    EXPECT_TRUE(parseScript(u" \r\n\t\n-- only a comment\n--").empty());
}

TEST(SQLParser, StatementLongerThanAnyBufferStaysWhole) {
    std::u16string value(200000, u'x');
    auto commands = parseScript(u"SELECT '" + value + u"'\n;");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0]->text(), u"SELECT '" + value + u"'");
}

// A saved query's SQL keeps the lines the script gave it, so that a query stored with several
// lines is made again with the same text; the statement itself is still joined by blanks.
TEST(SQLParser, SavedQueryKeepsItsLines) {
    auto commands = parseScript(u"CREATE VIEW [V] AS SELECT a,\r\n"
                                u"    'x\r\n"
                                u"y' AS b\r\n"
                                u"\r\n"
                                u"-- dropped\r\n"
                                u"FROM t  ;\r\n"
                                u"CREATE PROCEDURE [P] ([p] LONG) AS \r\n"
                                u"SELECT *\n"
                                u"FROM t WHERE a = [p];\r\n\r\n"
                                u"CREATE VIEW [Hand] AS\n"
                                u"\tSELECT 1\n"
                                u"\tFROM t;\n"
                                u"CREATE PROCEDURE [Q] () AS\n"
                                u"\tDELETE FROM t;\n"
                                u"CREATE PROCEDURE [One] () AS  SELECT 2;\n"
                                u"CREATE VIEW [Last] AS SELECT 3\n"
                                u"FROM t\n");
    ASSERT_EQ(commands.size(), 6u);
    const auto& view = dynamic_cast<const SQLCommandCreateView&>(*commands[0]);
    EXPECT_EQ(view.text(), u"CREATE VIEW [V] AS SELECT a, 'x y' AS b FROM t");
    EXPECT_EQ(view.body(), u"SELECT a,\r\n    'x\r\ny' AS b\r\n\r\nFROM t");
    // After the comparer's "AS " the line breaks belong to the procedure's text.
    EXPECT_EQ(dynamic_cast<const SQLCommandCreateProcedure&>(*commands[1]).body(),
              u"\r\nSELECT *\r\nFROM t WHERE a = [p]");
    // A view starts with its first word.
    EXPECT_EQ(dynamic_cast<const SQLCommandCreateView&>(*commands[2]).body(),
              u"SELECT 1\r\n\tFROM t");
    EXPECT_EQ(dynamic_cast<const SQLCommandCreateProcedure&>(*commands[3]).body(),
              u"\r\n\tDELETE FROM t");
    EXPECT_EQ(dynamic_cast<const SQLCommandCreateProcedure&>(*commands[4]).body(), u" SELECT 2");
    // The last statement needs no ";".
    EXPECT_EQ(dynamic_cast<const SQLCommandCreateView&>(*commands[5]).body(),
              u"SELECT 3\r\nFROM t");
}

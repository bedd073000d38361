// The generator asks its dialect which Access-only statements it may write; a dialect that
// supports none of them must still get valid standard DDL.

#include "script/CommandGenerator.h"

#include "SchemaBuilders.h"
#include "schema/AccessDataTypeName.h"
#include "schema/DataTypeName.h"
#include "schema/View.h"

#include <gtest/gtest.h>

using namespace testing_schema;

namespace {

constexpr TypeNameEntry plainTypes[] = {{3, u"INTEGER", u"integer"}, {202, u"VARCHAR", u"text"}};

// Every switch off, a visible terminator, and hooks that leave a trace.
class PlainDialect final : public DataTypeName {
public:
    PlainDialect()
        : DataTypeName(plainTypes, u"SERIAL", u" COMPRESSED", false, false, false, false, 1,
                       u"GO\r\n") {}

    void textLiteral(std::u16string&) const override {}
    void byteArrayLiteral(std::span<const std::uint8_t>, std::u16string&) const override {}
    void valueText(const engine::Variant&, std::u16string&) const override {}
    void beforeViewText(int category) override {
        hooks += "before " + std::to_string(category) + ";";
    }
    void afterViewText(int category) override {
        hooks += "after " + std::to_string(category) + ";";
    }
    void beforeStatement(int, std::u16string_view) override {}
    void afterStatement(int, std::u16string_view) override {}
    void defaultValueText(std::u16string& out, const Field& field) const override {
        out += u"<" + *field.defaultText() + u">";
    }

    std::string hooks;
};

class DialectSwitchTest : public ::testing::Test {
protected:
    std::string script() const { return text::toUtf8(generator.assemble(true)); }

    PlainDialect dialect;
    CommandGenerator generator{dialect};
    Table table{u"T"};
};

} // namespace

TEST_F(DialectSwitchTest, NoAccessOnlyStatementsAndNotNullOnlyWithoutZeroLength) {
    Field& required = addField(
        table, {.name = u"a", .type = Text, .length = 5, .defaultText = u"x", .compressed = true});
    required.setFormat(u"f");
    required.setExpression(u"e");
    required.setDecimalPlaces(2);
    // Allowing empty strings is how such a dialect expresses a required text.
    addField(table, {.name = u"b", .type = Text, .length = 5, .allowZeroLength = true});
    addField(table, {.name = u"c", .type = Long, .autoincrement = true});
    table.setTableDataMacro(std::make_unique<TableDataMacro>(u"T", bytes("m")));

    generator.createTable(table);
    generator.alterColumn(required);
    generator.setFormat(required, ScriptCategory::AlterColumns);
    generator.setForm(Entity::Form(u"f", bytes("f")));
    generator.dropForm(Entity::Form(u"f", bytes("f")));

    EXPECT_EQ(script(), "CREATE TABLE [T] (\r\n"
                        "\t[a] VARCHAR(5) COMPRESSED NOT NULL DEFAULT <x>,\r\n"
                        "\t[b] VARCHAR(5),\r\n"
                        "\t[c] SERIAL\r\n"
                        ");\r\nGO\r\n"
                        "ALTER TABLE [T]\r\n\tALTER COLUMN [a] VARCHAR(5) COMPRESSED NOT NULL"
                        " DEFAULT <x>;\r\nGO\r\n");
}

TEST_F(DialectSwitchTest, TerminatorsFollowStatementsAndHooksSurroundQueries) {
    addColumn(table, u"a", Long);
    Key& foreign = addForeignKey(table, u"fk", u"P", {{u"a", u"b"}}, {.oneToOne = true});
    Key& loose = addForeignKey(table, u"nx", u"P", {{u"a", u"b"}}, {.notEnforced = true});

    generator.addKey(foreign); // the UNIQUE marker is suppressed
    generator.addKey(loose);
    generator.createView(View(u"v", u"SELECT 1"));
    generator.createProcedure(Procedure(u"p", u"PARAMETERS x Long;SELECT x"));
    generator.createProcedure(Procedure(u"q", u"DELETE FROM T"));

    EXPECT_EQ(script(), "ALTER TABLE [T]\r\n\tADD CONSTRAINT [fk]\r\n\tFOREIGN KEY ([a])"
                        " REFERENCES\r\n\t\t[P] ([b]);\r\nGO\r\n"
                        "ALTER TABLE [T]\r\n\tADD CONSTRAINT [nx]\r\n\tFOREIGN KEY NO INDEX ([a])"
                        " REFERENCES\r\n\t\t[P] ([b]);\r\nGO\r\n"
                        "CREATE VIEW [v] AS SELECT 1;\r\nGO\r\n"
                        "CREATE PROCEDURE [p] (x Long) AS SELECT x;\r\n\r\nGO\r\n"
                        "CREATE PROCEDURE [q] () AS DELETE FROM T;\r\n\r\nGO\r\n");
    EXPECT_EQ(dialect.hooks, "before 19;after 19;before 20;after 20;before 20;after 20;");
}

namespace {

class TerminatedAccessDialect final : public AccessDataTypeName {
public:
    std::u16string terminator() const override { return u"GO\r\n"; }
};

} // namespace

TEST(TerminatedAccessDialect, EveryStatementButTheBase64OnesIsTerminated) {
    TerminatedAccessDialect dialect;
    CommandGenerator generator(dialect);
    Table table(u"T");
    Field& field = addField(
        table,
        {.name = u"a", .type = Text, .length = 5, .defaultText = u"x", .allowZeroLength = true});
    field.setFormat(u"f");
    addField(table, {.name = u"n", .type = Long, .defaultText = u"y"});
    table.setTableDataMacro(std::make_unique<TableDataMacro>(u"T", bytes("m")));

    generator.createTable(table);
    generator.setForm(Entity::Form(u"f", bytes("f")));
    generator.dropForm(Entity::Form(u"g", bytes("g")));

    EXPECT_EQ(text::toUtf8(generator.assemble(true)),
              "CREATE TABLE [T] (\r\n"
              "\t[a] TEXT(5) NOT NULL DEFAULT x,\r\n"
              "\t[n] LONG NOT NULL\r\n"
              ");\r\nGO\r\n"
              "ALTER TABLE [T] ALLOW ZERO LENGTH [a];\r\nGO\r\n"
              "ALTER TABLE [T] FORMAT [a] SET \"f\";\r\nGO\r\n"
              "ALTER TABLE [T] DEFAULT [n] SET y;\r\nGO\r\n"
              "ALTER TABLE [T] DATA MACRO SET base64(\"bQ==\r\n\");\r\n"
              "ALTER FORM [f] SET base64(\"Zg==\r\n\");\r\n"
              "DROP FORM [g];\r\nGO\r\n");
}

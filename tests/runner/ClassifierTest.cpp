#include "ParserTestSupport.h"
#include "RecordingExecutor.h"

#include "runner/sqlexecutor/AccessObjectCommands.h"
#include "runner/sqlexecutor/ColumnCommands.h"
#include "runner/sqlexecutor/ForeignKeyCommand.h"
#include "runner/sqlexecutor/LinkCommands.h"
#include "runner/sqlexecutor/ParametrizedCommands.h"
#include "runner/sqlexecutor/QueryCommands.h"

#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

using namespace SQLExecutor;

namespace {

bool isPlain(const std::u16string& statement) {
    return parseOne<SQLCommand>(statement) != nullptr;
}

Bytes bytes(std::initializer_list<int> values) {
    Bytes result;
    for (int v : values)
        result.push_back(std::uint8_t(v));
    return result;
}

} // namespace

TEST(Classifier, ValidationRuleAddAndDrop) {
    auto add = parseOne<SQLCommandAlterValidationRule>(
        u"ALTER TABLE [Orders] ADD CONSTRAINT [[Qty].ValidationRule] CHECK (>0 And <100);");
    ASSERT_TRUE(add);
    EXPECT_EQ(add->table(), u"Orders");
    EXPECT_EQ(add->column(), u"Qty");
    EXPECT_EQ(add->rule(), u">0 And <100");
    EXPECT_EQ(add->text(),
              u"ALTER TABLE [Orders] ADD CONSTRAINT [[Qty].ValidationRule] CHECK (>0 And <100)");

    auto drop = parseOne<SQLCommandAlterValidationRule>(
        u"alter table [Orders]\n  drop constraint [[Qty].validationrule];");
    ASSERT_TRUE(drop);
    EXPECT_EQ(drop->table(), u"Orders");
    EXPECT_EQ(drop->column(), u"Qty");
    EXPECT_EQ(drop->rule(), u"");
}

TEST(Classifier, ZeroLengthInAnyCase) {
    auto allow = parseOne<SQLCommandAlterZeroLength>(u"alter table [T] allow zero length [C];");
    ASSERT_TRUE(allow);
    EXPECT_EQ(allow->table(), u"T");
    EXPECT_EQ(allow->column(), u"C");
    EXPECT_TRUE(allow->allow());
    auto deny = parseOne<SQLCommandAlterZeroLength>(u"ALTER TABLE [T] DENY ZERO LENGTH [C];");
    ASSERT_TRUE(deny);
    EXPECT_FALSE(deny->allow());
}

TEST(Classifier, CalculatedExpressionFormatAndAttachment) {
    auto expression = parseOne<SQLCommandAlterCalculatedFieldExpression>(
        u"ALTER TABLE [T] EXPRESSION [Total] SET \"[A]*[B]\";");
    ASSERT_TRUE(expression);
    EXPECT_EQ(expression->table(), u"T");
    EXPECT_EQ(expression->column(), u"Total");
    EXPECT_EQ(expression->expression(), u"[A]*[B]");

    auto format = parseOne<SQLCommandAlterFormat>(u"ALTER TABLE [T] FORMAT [D] SET \"\";");
    ASSERT_TRUE(format);
    EXPECT_EQ(format->column(), u"D");
    EXPECT_EQ(format->format(), u"");

    auto attachment =
        parseOne<SQLCommandAddAttachment>(u"ALTER TABLE [T] ADD COLUMN [Files] ATTACHMENT;");
    ASSERT_TRUE(attachment);
    EXPECT_EQ(attachment->table(), u"T");
    EXPECT_EQ(attachment->column(), u"Files");
    // Exactly one blank between ADD and COLUMN.
    EXPECT_TRUE(isPlain(u"ALTER TABLE [T] ADD  COLUMN [Files] ATTACHMENT;"));
}

TEST(Classifier, DecimalPlaces) {
    auto automatic =
        parseOne<SQLCommandAlterDecimalPlaces>(u"ALTER TABLE [T] DECIMAL PLACES [C] SET Auto;");
    ASSERT_TRUE(automatic);
    EXPECT_EQ(automatic->places(), 255);
    EXPECT_EQ(parseOne<SQLCommandAlterDecimalPlaces>(u"ALTER TABLE [T] DECIMAL PLACES [C] SET 3;")
                  ->places(),
              3);
    EXPECT_EQ(parseOne<SQLCommandAlterDecimalPlaces>(u"ALTER TABLE [T] DECIMAL PLACES [C] SET -2x;")
                  ->places(),
              -2);
    EXPECT_EQ(
        parseOne<SQLCommandAlterDecimalPlaces>(u"ALTER TABLE [T] DECIMAL PLACES [C] SET many;")
            ->places(),
        0);
    EXPECT_EQ(parseOne<SQLCommandAlterDecimalPlaces>(
                  u"ALTER TABLE [T] DECIMAL PLACES [C] SET 99999999999;")
                  ->places(),
              INT_MAX);
}

TEST(Classifier, DefaultValueKeepsItsTextAsWritten) {
    auto command = parseOne<SQLCommandAlterDefaultValue>(
        u"ALTER TABLE [My [T]]] DEFAULT [Col] SET \"a [b]\";");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->table(), u"My T");
    EXPECT_EQ(command->column(), u"Col");
    EXPECT_EQ(command->defaultValue(), u"\"a [b]\"");
}

// A column definition whose default text holds " SET " also fits the DEFAULT expression;
// it is still column DDL for the engine, in any letter case and line layout.
TEST(Classifier, ColumnDefinitionsWithSetInTheirDefaultStayPlain) {
    for (const char16_t* statement :
         {u"ALTER TABLE [T] ALTER COLUMN [C] TEXT(20) DEFAULT \"on SET off\";",
          u"alter table T\n\tadd column [C] MEMO default 'x set y';",
          u"ALTER TABLE [T] ADD\tCOLUMN[C] LONG DEFAULT 1 SET 2;"}) {
        SCOPED_TRACE(text::toUtf8(statement));
        EXPECT_TRUE(parseOne<SQLCommand>(statement));
    }
    // Only a clause outside brackets counts: these are names.
    auto named = parseOne<SQLCommandAlterDefaultValue>(
        u"ALTER TABLE [Add Column Log] DEFAULT [Alter Column] SET 5;");
    ASSERT_TRUE(named);
    EXPECT_EQ(named->table(), u"Add Column Log");
    EXPECT_EQ(named->column(), u"Alter Column");
    auto bare = parseOne<SQLCommandAlterDefaultValue>(u"ALTER TABLE T DEFAULT C SET 5;");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->column(), u"C");
}

TEST(Classifier, TableDataMacroAndAccessObjects) {
    auto macro = parseOne<SQLCommandAlterTableDataMacro>(
        u"ALTER TABLE [T] DATA MACRO SET base64(\"QU\nJD\");");
    ASSERT_TRUE(macro);
    EXPECT_EQ(macro->table(), u"T");
    // Split over two lines: the joining blank is skipped by the decoder.
    EXPECT_EQ(macro->definition(), bytes({0x41, 0x42, 0x43}));

    auto form = parseOne<SQLCommandAlterAccessObject>(u"ALTER FORM [F1] SET base64(\"QUJD\");");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->name(), u"F1");
    EXPECT_EQ(form->kind(), 2);
    EXPECT_EQ(form->definition(), bytes({0x41, 0x42, 0x43}));
    EXPECT_EQ(
        parseOne<SQLCommandAlterAccessObject>(u"alter Module [M] set BASE64(\"QQ==\");")->kind(),
        5);
    EXPECT_EQ(
        parseOne<SQLCommandAlterAccessObject>(u"ALTER MACRO [M] SET base64(\"QQ==\");")->kind(), 4);
    EXPECT_EQ(
        parseOne<SQLCommandAlterAccessObject>(u"ALTER REPORT [R] SET base64(\"QQ==\");")->kind(),
        3);
    EXPECT_TRUE(isPlain(u"ALTER QUERY [Q] SET base64(\"QUJD\");"));
}

TEST(Classifier, DropStatements) {
    auto dataMacro = parseOne<SQLCommandAlterAccessObject>(u"DROP TABLE DATA MACRO [T];");
    ASSERT_TRUE(dataMacro);
    EXPECT_EQ(dataMacro->kind(), 12);
    EXPECT_EQ(dataMacro->name(), u"T");
    EXPECT_EQ(dataMacro->definition(), bytes({0}));

    auto report = parseOne<SQLCommandDropAccessObject>(u"DROP REPORT [R];");
    ASSERT_TRUE(report);
    EXPECT_EQ(report->kind(), 3);
    EXPECT_EQ(report->name(), u"R");
    EXPECT_EQ(parseOne<SQLCommandDropAccessObject>(u"drop form [F];")->kind(), 2);
    EXPECT_EQ(parseOne<SQLCommandDropAccessObject>(u"DROP MODULE [M];")->kind(), 5);
    EXPECT_EQ(parseOne<SQLCommandDropAccessObject>(u"DROP MACRO [M];")->kind(), 4);

    EXPECT_TRUE(isPlain(u"DROP TABLE [T];"));
    EXPECT_TRUE(isPlain(u"DROP INDEX [I] ON [T];"));
    EXPECT_TRUE(isPlain(u"DROP VIEW [V];"));
}

TEST(Classifier, ViewsAndProcedures) {
    auto view = parseOne<SQLCommandCreateView>(u"CREATE VIEW [Active [x]]] AS SELECT * FROM T;");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name(), u"Active x");
    EXPECT_EQ(view->body(), u"SELECT * FROM T");

    auto procedure = parseOne<SQLCommandCreateProcedure>(
        u"CREATE PROCEDURE [Find] ([p] Text ( 255 ), [q] Long) AS\nSELECT * FROM T WHERE A=[p];");
    ASSERT_TRUE(procedure);
    EXPECT_EQ(procedure->name(), u"Find");
    EXPECT_EQ(procedure->parameters(), u"[p] Text ( 255 ), [q] Long");
    EXPECT_EQ(procedure->body(), u"SELECT * FROM T WHERE A=[p]");
    EXPECT_TRUE(isPlain(u"CREATE TABLE [T] ([A] LONG);"));
}

TEST(Classifier, LinkedTables) {
    auto odbc = parseOne<SQLCommandLinkODBC>(
        u"LINK TABLE [Local] TO [dbo.Remote] ODBC \"ODBC;DSN=x;DATABASE=y\";");
    ASSERT_TRUE(odbc);
    EXPECT_EQ(odbc->localTable(), u"Local");
    EXPECT_EQ(odbc->remoteTable(), u"dbo.Remote");
    EXPECT_EQ(odbc->connection(), u"ODBC;DSN=x;DATABASE=y");

    auto access =
        parseOne<SQLCommandLinkAccess>(u"link table [L] to [R] src \";DATABASE=/data/other.mdb\";");
    ASSERT_TRUE(access);
    EXPECT_EQ(access->localTable(), u"L");
    EXPECT_EQ(access->remoteTable(), u"R");
    EXPECT_EQ(access->connection(), u";DATABASE=/data/other.mdb");
    EXPECT_TRUE(isPlain(u"LINK TABLE [L] TO [R] FILE \"x\";"));
}

TEST(Classifier, ForeignKeyWithoutIndex) {
    auto key = parseOne<SQLCommandAddConstraintNoIndex>(
        u"ALTER TABLE [Child] ADD CONSTRAINT [FK_1] FOREIGN KEY NO INDEX ([A], [B]) "
        u"REFERENCES [Parent] ([X], [Y]) ON DELETE CASCADE;");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->table(), u"Child");
    EXPECT_EQ(key->constraintName(), u"FK_1");
    EXPECT_EQ(key->referencedTable(), u"Parent");
    EXPECT_EQ(key->columns(), (std::vector<ColumnPair>{{u"A", u"X"}, {u"B", u"Y"}}));
    EXPECT_FALSE(key->unique());
    EXPECT_FALSE(key->updateCascades());
    EXPECT_TRUE(key->deleteCascades());

    auto unique = parseOne<SQLCommandAddConstraintNoIndex>(
        u"ALTER TABLE [C] ADD CONSTRAINT [K] FOREIGN KEY UNIQUE ([A]) REFERENCES [P] ([X]) "
        u"on delete cascade  ON UPDATE   CASCADE;");
    ASSERT_TRUE(unique);
    EXPECT_EQ(unique->columns(), (std::vector<ColumnPair>{{u"A", u"X"}}));
    EXPECT_TRUE(unique->unique());
    EXPECT_TRUE(unique->updateCascades());
    EXPECT_TRUE(unique->deleteCascades());

    // Surplus columns of the longer list are dropped.
    auto uneven = parseOne<SQLCommandAddConstraintNoIndex>(
        u"ALTER TABLE [C] ADD CONSTRAINT [K] FOREIGN KEY NO INDEX ([A],[B],[C]) REFERENCES [P] "
        u"([X]);");
    ASSERT_TRUE(uneven);
    EXPECT_EQ(uneven->columns(), (std::vector<ColumnPair>{{u"A", u"X"}}));

    EXPECT_TRUE(isPlain(u"ALTER TABLE [C] ADD CONSTRAINT [K] FOREIGN KEY NO INDEX ([A]) "
                        u"REFERENCES [P] ([X]) ON UPDATE SET NULL;"));
    EXPECT_TRUE(isPlain(u"ALTER TABLE [C] ADD CONSTRAINT [K] FOREIGN KEY ([A]) REFERENCES [P] "
                        u"([X]);"));
}

TEST(Classifier, FirstLetterCheckIgnoresCase) {
    EXPECT_TRUE(parseOne<SQLCommandDropAccessObject>(u"dRoP fOrM [F];"));
    EXPECT_TRUE(parseOne<SQLCommandLinkODBC>(u"lInK TABLE [a] TO [b] odbc \"c\";"));
    EXPECT_TRUE(parseOne<SQLCommandCreateView>(u"create view [V] as select 1;"));
}

TEST(Classifier, StatementTextIsKeptAsCollected) {
    auto commands = parseScript(u"-- c\n  DROP\n   FORM [F]  ;\n");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0]->text(), u"DROP FORM [F]");
    EXPECT_EQ(commands[0]->lineNumber(), 2);
}

TEST(Classifier, EveryCommandReachesTheOperationOfItsClass) {
    auto commands = parseScript(
        u"DROP FORM [F];\n"
        u"ALTER FORM [F] SET base64(\"QQ==\");\n"
        u"ALTER TABLE [T] DATA MACRO SET base64(\"QQ==\");\n"
        u"ALTER TABLE [T] DEFAULT [C] SET 1;\n"
        u"ALTER TABLE [T] DECIMAL PLACES [C] SET 2;\n"
        u"ALTER TABLE [T] FORMAT [C] SET \"x\";\n"
        u"ALTER TABLE [T] ADD COLUMN [C] ATTACHMENT;\n"
        u"ALTER TABLE [T] EXPRESSION [C] SET \"1\";\n"
        u"ALTER TABLE [T] ALLOW ZERO LENGTH [C];\n"
        u"CREATE PROCEDURE [P] ([a] Long) AS SELECT 1;\n"
        u"CREATE VIEW [V] AS SELECT 1;\n"
        u"ALTER TABLE [T] ADD CONSTRAINT [K] FOREIGN KEY UNIQUE ([A]) REFERENCES [P] ([B]);\n"
        u"LINK TABLE [L] TO [R] SRC \"x\";\n"
        u"LINK TABLE [L] TO [R] ODBC \"x\";\n"
        u"INSERT INTO [T] ([A]) VALUES (chr(65));\n"
        u"UPDATE [T] SET [A]=chr(65) WHERE 1=1;\n"
        u"ALTER TABLE [T] DROP CONSTRAINT [[C].ValidationRule];\n"
        u"SELECT 1;\n");
    RecordingExecutor executor;
    for (const auto& command : commands)
        command->execute(executor);
    EXPECT_EQ(executor.calls,
              (std::vector<std::string>{
                  "DropAccessObject", "AlterAccessObject", "AlterTableDataMacro",
                  "AlterDefaultValue", "AlterDecimalPlaces", "AlterFormat", "AddAttachment",
                  "AlterCalculatedFieldExpression", "AlterZeroLength", "CreateProcedure",
                  "CreateView", "AddConstraintNoIndex", "LinkAccess", "LinkODBC", "Parametrized",
                  "Parametrized", "AlterValidationRule", "Plain"}));
}

TEST(Classifier, LargeStatementsOfEveryKindStillMatch) {
    // Object definitions run to megabytes; the matching limits grow with the statement.
    std::u16string payload;
    while (payload.size() < 1'000'000)
        payload += u"QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9wcXJzdHV2d3h5ejAx ";
    auto form =
        parseOne<SQLCommandAlterAccessObject>(u"ALTER FORM [F] SET base64(\"" + payload + u"\");");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->definition().size(), payload.size() / 73 * 54);
    EXPECT_TRUE(parseOne<SQLCommandAlterTableDataMacro>(
        u"ALTER TABLE [T] DATA MACRO SET base64(\"" + payload + u"\");"));

    std::u16string values;
    for (int i = 0; i < 20000; ++i)
        values += u"chr(65) & \"abc\", 12, ";
    auto insert =
        parseOne<SQLCommandInsertChr>(u"INSERT INTO [T] ([A]) VALUES (" + values + u"1);");
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->parameters().size(), 20000u);
}

TEST(Classifier, StatementThatWouldBacktrackForeverStaysPlain) {
    // Without bounds every split of these repeated pieces would be tried.
    std::u16string update = u"UPDATE x";
    std::u16string insert = u"INSERT INTO x";
    for (int i = 0; i < 3000; ++i) {
        update += u" SET chr(1) )";
        insert += u" ( ) VALUES ( chr";
    }
    EXPECT_TRUE(isPlain(update + u";"));
    EXPECT_TRUE(isPlain(insert + u";"));
}

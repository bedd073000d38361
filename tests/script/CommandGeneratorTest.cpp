#include "script/CommandGenerator.h"

#include "SchemaBuilders.h"
#include "schema/AccessDataTypeName.h"
#include "schema/TableLinked.h"
#include "schema/View.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace testing_schema;

namespace {

class CommandGeneratorTest : public ::testing::Test {
protected:
    std::string script(bool includeForeignKeys = true) const {
        return text::toUtf8(generator.assemble(includeForeignKeys));
    }

    AccessDataTypeName dialect;
    CommandGenerator generator{dialect};
    Table table{u"T"};
};

} // namespace

TEST_F(CommandGeneratorTest, AnUntouchedGeneratorAssemblesToNothing) {
    EXPECT_EQ(script(), "");
}

TEST_F(CommandGeneratorTest, DropStatements) {
    Field& field = addColumn(table, u"c", Long);
    Index& index = addIndex(table, u"ix", {u"c"});
    CheckConstraint& check = addCheck(table, u"ck", u"c > 0");
    View view(u"v", u"SELECT 1");
    Procedure procedure(u"p", u"DELETE FROM T");

    generator.dropView(view);
    generator.dropProcedure(procedure);
    generator.dropTable(table);
    generator.dropColumn(field);
    generator.dropIndex(index);
    generator.dropCheck(check);

    EXPECT_EQ(script(), "ALTER TABLE [T] DROP CONSTRAINT [ck];\r\n"
                        "DROP INDEX [ix] ON [T];\r\n"
                        "ALTER TABLE [T] DROP COLUMN [c];\r\n"
                        "DROP TABLE [T];\r\n"
                        "DROP VIEW [v];\r\n"
                        "DROP PROCEDURE [p];\r\n");
}

TEST_F(CommandGeneratorTest, DropKeyGoesToTheCategoryOfItsTypeAndRejectsOtherTypes) {
    addColumn(table, u"c", Long);
    Key& primary = addKey(table, u"pk", Key::Primary, {u"c"});
    Key& unique = addKey(table, u"uk", Key::Unique, {u"c"});
    Key& foreign = addForeignKey(table, u"fk", u"P", {{u"c", u"id"}});
    Key& odd = addKey(table, u"odd", 4, {u"c"});

    generator.dropKey(primary);
    generator.dropKey(unique);
    generator.dropKey(foreign);
    try {
        generator.dropKey(odd);
        FAIL() << "a key of type 4 was dropped";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Incorrect key");
    }

    EXPECT_EQ(script(), "ALTER TABLE [T] DROP CONSTRAINT [fk];\r\n"
                        "ALTER TABLE [T] DROP CONSTRAINT [uk];\r\n"
                        "ALTER TABLE [T] DROP CONSTRAINT [pk];\r\n");
}

TEST_F(CommandGeneratorTest, CreateTableWithPropertiesAttachmentKeysAndDataMacro) {
    Table orders(u"Orders");
    addField(orders, {.name = u"ID", .type = Long, .autoincrement = true});
    Field& name = addField(orders, {.name = u"Name", .type = Text, .length = 50});
    name.setFormat(u">");
    addColumn(orders, u"Photo", Attachment).setFormat(u"@");
    Field& amount = addField(orders, {.name = u"Amount",
                                      .type = Decimal,
                                      .defaultText = u"0",
                                      .numericScale = 4,
                                      .precision = 18,
                                      .nullable = true});
    amount.setDecimalPlaces(2);
    addField(orders, {.name = u"Qty", .type = Long, .defaultText = u"abc", .nullable = true});
    addColumn(orders, u"Total", Double).setExpression(u"[Qty]*2");
    addField(orders, {.name = u"Notes",
                      .type = Memo,
                      .nullable = true,
                      .compressed = true,
                      .allowZeroLength = true});
    addField(orders,
             {.name = u"Created", .type = DateTime, .defaultText = u"Now ( )", .nullable = true});
    addKey(orders, u"PrimaryKey", Key::Primary, {u"ID"});
    addKey(orders, u"UK", Key::Unique, {u"Name", u"Created"});
    addKey(orders, u"PhotoKey", Key::Unique, {u"Photo"});
    addForeignKey(orders, u"FK", u"Customers", {{u"ID", u"OrderID"}});
    orders.setTableDataMacro(std::make_unique<TableDataMacro>(u"Orders", bytes("abc")));

    generator.createTable(orders);

    EXPECT_EQ(script(), "CREATE TABLE [Orders] (\r\n"
                        "\t[ID] AUTOINCREMENT,\r\n"
                        "\t[Name] TEXT(50) NOT NULL,\r\n"
                        "\t[Amount] DECIMAL(18, 4) DEFAULT 0,\r\n"
                        "\t[Qty] LONG,\r\n"
                        "\t[Total] DOUBLE,\r\n"
                        "\t[Notes] MEMO WITH COMPRESSION,\r\n"
                        "\t[Created] DATETIME DEFAULT Now(),\r\n"
                        "\tCONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]),\r\n"
                        "\tCONSTRAINT [UK] UNIQUE ([Name], [Created])\r\n"
                        ");\r\n"
                        "ALTER TABLE [Orders] DENY ZERO LENGTH [Name];\r\n"
                        "ALTER TABLE [Orders] ALLOW ZERO LENGTH [Notes];\r\n"
                        "ALTER TABLE [Orders] FORMAT [Name] SET \">\";\r\n"
                        "ALTER TABLE [Orders] FORMAT [Photo] SET \"@\";\r\n"
                        "ALTER TABLE [Orders] DECIMAL PLACES [Amount] SET 2;\r\n"
                        "ALTER TABLE [Orders] EXPRESSION [Total] SET \"[Qty]*2\";\r\n"
                        "ALTER TABLE [Orders] DEFAULT [Qty] SET abc;\r\n"
                        "ALTER TABLE [Orders]\r\n"
                        "\tADD COLUMN [Photo] ATTACHMENT;\r\n"
                        "ALTER TABLE [Orders] FORMAT [Photo] SET \"@\";\r\n"
                        "ALTER TABLE [Orders]\r\n"
                        "\tADD CONSTRAINT [PhotoKey]\r\n"
                        "\t UNIQUE ([Photo]);\r\n"
                        "ALTER TABLE [Orders] DATA MACRO SET base64(\"YWJj\r\n\");\r\n");
}

TEST_F(CommandGeneratorTest, CreateTableLeavesNoStrayCommaAroundAnAttachment) {
    addColumn(table, u"Files", Attachment);
    addColumn(table, u"a", Long);
    addColumn(table, u"b", Attachment);

    generator.createTable(table);

    EXPECT_EQ(script(), "CREATE TABLE [T] (\r\n"
                        "\t[a] LONG\r\n"
                        ");\r\n"
                        "ALTER TABLE [T]\r\n\tADD COLUMN [Files] ATTACHMENT;\r\n"
                        "ALTER TABLE [T]\r\n\tADD COLUMN [b] ATTACHMENT;\r\n");
}

TEST_F(CommandGeneratorTest, ColumnDefinitionsByType) {
    addField(table, {.name = u"a", .type = Character, .length = 10, .nullable = true});
    // Autoincrement replaces the type, its size and NOT NULL.
    addField(table, {.name = u"b", .type = Text, .length = 20, .autoincrement = true});
    // An attachment is never written compressed.
    addField(table, {.name = u"c", .type = Attachment, .nullable = true, .compressed = true});
    addField(table, {.name = u"d", .type = 999, .length = 4, .nullable = true});
    addField(table, {.name = u"e", .type = 11, .length = 2});
    addField(table, {.name = u"f", .type = 204, .length = 16, .nullable = true});

    for (const auto& field : table.fields())
        generator.addColumn(*field);

    EXPECT_EQ(script(), "ALTER TABLE [T]\r\n\tADD COLUMN [a] CHARACTER(10);\r\n"
                        "ALTER TABLE [T]\r\n\tADD COLUMN [b] AUTOINCREMENT;\r\n"
                        "ALTER TABLE [T] DENY ZERO LENGTH [b];\r\n"
                        "ALTER TABLE [T]\r\n\tADD COLUMN [c] ATTACHMENT;\r\n"
                        "ALTER TABLE [T]\r\n\tADD COLUMN [d] UNKNOWN;\r\n"
                        "ALTER TABLE [T]\r\n\tADD COLUMN [e] BIT NOT NULL;\r\n"
                        "ALTER TABLE [T]\r\n\tADD COLUMN [f] BINARY(16);\r\n");
}

TEST_F(CommandGeneratorTest, DefaultsThatFitStayInlineOthersGetTheirOwnStatement) {
    addField(table, {.name = u"d1", .type = DateTime, .defaultText = u"#1/1/2000#"});
    addField(table, {.name = u"d2", .type = DateTime, .defaultText = u"2000-01-01"});
    addField(table, {.name = u"r1", .type = Double, .defaultText = u"5."});
    addField(table, {.name = u"r2", .type = Double, .defaultText = u".5"});
    addField(table, {.name = u"i1", .type = Long, .defaultText = u"-12"});
    addField(table, {.name = u"i2", .type = Decimal, .defaultText = u"1.5", .precision = 5});
    // The separate statement writes the stored text, not the dialect's form of it.
    addField(table, {.name = u"t", .type = Text, .length = 5, .defaultText = u"\"x\""});

    generator.createTable(table);

    EXPECT_EQ(script(), "CREATE TABLE [T] (\r\n"
                        "\t[d1] DATETIME NOT NULL DEFAULT '1/1/2000',\r\n"
                        "\t[d2] DATETIME NOT NULL DEFAULT '2000-01-01',\r\n"
                        "\t[r1] DOUBLE NOT NULL,\r\n"
                        "\t[r2] DOUBLE NOT NULL DEFAULT .5,\r\n"
                        "\t[i1] LONG NOT NULL DEFAULT -12,\r\n"
                        "\t[i2] DECIMAL(5, 0) NOT NULL,\r\n"
                        "\t[t] TEXT(5) NOT NULL DEFAULT \"x\"\r\n"
                        ");\r\n"
                        "ALTER TABLE [T] DENY ZERO LENGTH [t];\r\n"
                        "ALTER TABLE [T] DEFAULT [r1] SET 5.;\r\n"
                        "ALTER TABLE [T] DEFAULT [i2] SET 1.5;\r\n");
}

TEST_F(CommandGeneratorTest, AddColumnSpreadsItsPropertiesOverTwoCategories) {
    Field& field = addField(
        table,
        {.name = u"c", .type = Text, .length = 10, .defaultText = u"'a'", .allowZeroLength = true});
    field.setExpression(u"[a] & [b]");
    field.setFormat(u"@@");
    field.setDecimalPlaces(3);
    Field& numeric = addField(table, {.name = u"n", .type = Long, .defaultText = u"=Date()"});

    generator.addColumn(field);
    generator.addColumn(numeric);
    generator.alterColumn(numeric); // category 12 lies between 11 and 13

    EXPECT_EQ(script(), "ALTER TABLE [T]\r\n\tADD COLUMN [c] TEXT(10) NOT NULL DEFAULT 'a';\r\n"
                        "ALTER TABLE [T] ALLOW ZERO LENGTH [c];\r\n"
                        "ALTER TABLE [T] DECIMAL PLACES [c] SET 3;\r\n"
                        "ALTER TABLE [T] FORMAT [c] SET \"@@\";\r\n"
                        "ALTER TABLE [T]\r\n\tADD COLUMN [n] LONG NOT NULL;\r\n"
                        "ALTER TABLE [T] DEFAULT [n] SET =Date();\r\n"
                        "ALTER TABLE [T] EXPRESSION [c] SET \"[a] & [b]\";\r\n"
                        "ALTER TABLE [T]\r\n\tALTER COLUMN [n] LONG NOT NULL;\r\n"
                        "ALTER TABLE [T] DEFAULT [n] SET =Date();\r\n");
}

TEST_F(CommandGeneratorTest, AlterColumnClearsAMissingDefaultAndRewritesEveryProperty) {
    Field& plain = addColumn(table, u"a", Long);
    Field& full = addField(table, {.name = u"b", .type = Memo, .defaultText = u"none"});
    full.setDecimalPlaces(1);
    full.setFormat(u"f");
    full.setExpression(u"e");
    Field& fitting = addField(table, {.name = u"c", .type = Double, .defaultText = u"1e5"});

    generator.alterColumn(plain);
    generator.alterColumn(full);
    generator.alterColumn(fitting);

    EXPECT_EQ(script(), "ALTER TABLE [T]\r\n\tALTER COLUMN [a] LONG DEFAULT ;\r\n"
                        "ALTER TABLE [T]\r\n\tALTER COLUMN [b] MEMO NOT NULL DEFAULT none;\r\n"
                        "ALTER TABLE [T] DENY ZERO LENGTH [b];\r\n"
                        "ALTER TABLE [T] DECIMAL PLACES [b] SET 1;\r\n"
                        "ALTER TABLE [T] FORMAT [b] SET \"f\";\r\n"
                        "ALTER TABLE [T] EXPRESSION [b] SET \"e\";\r\n"
                        "ALTER TABLE [T]\r\n\tALTER COLUMN [c] DOUBLE NOT NULL DEFAULT 1e5;\r\n");
}

TEST_F(CommandGeneratorTest, SinglePropertyStatements) {
    Field& text = addField(table, {.name = u"t", .type = Text, .allowZeroLength = true});
    Field& number = addColumn(table, u"n", Long);

    generator.setZeroLength(text, ScriptCategory::AlterColumns);
    generator.setZeroLength(number, ScriptCategory::AlterColumns); // not a text column
    generator.setFormat(number, ScriptCategory::AlterColumns);     // an empty format is cleared
    generator.setExpression(number, ScriptCategory::AlterColumns); // no expression: nothing
    generator.setDecimalPlaces(number, ScriptCategory::AlterColumns);
    number.setDecimalPlaces(0);
    generator.setDecimalPlaces(number, ScriptCategory::AlterColumns);
    generator.setDefault(number, ScriptCategory::AlterColumns); // no default: nothing

    EXPECT_EQ(script(), "ALTER TABLE [T] ALLOW ZERO LENGTH [t];\r\n"
                        "ALTER TABLE [T] FORMAT [n] SET \"\";\r\n"
                        "ALTER TABLE [T] DECIMAL PLACES [n] SET AUTO;\r\n"
                        "ALTER TABLE [T] DECIMAL PLACES [n] SET 0;\r\n");
}

TEST_F(CommandGeneratorTest, CreateIndexOptions) {
    addColumn(table, u"a", Long);
    addColumn(table, u"b", Long);
    generator.createIndex(addIndex(table, u"PrimaryKey", {u"a"}, true, true, 1));
    generator.createIndex(addIndex(table, u"u", {u"a", u"b"}, false, true, 1));
    generator.createIndex(addIndex(table, u"i", {u"b"}, false, false, 2));
    generator.createIndex(addIndex(table, u"any", {u"b"}, false, false, 4));

    EXPECT_EQ(script(),
              "CREATE INDEX [PrimaryKey]\r\n\tON [T] ([a])\r\n\tWITH PRIMARY;\r\n"
              "CREATE UNIQUE INDEX [u]\r\n\tON [T] ([a], [b])\r\n\tWITH DISALLOW NULL;\r\n"
              "CREATE INDEX [i]\r\n\tON [T] ([b])\r\n\tWITH IGNORE NULL;\r\n"
              "CREATE INDEX [any]\r\n\tON [T] ([b]);\r\n");
}

// A descending column is written with DESC in every form that lists key or index columns;
// ascending ones are written as ever.
TEST_F(CommandGeneratorTest, DescendingColumnsInIndexesAndKeys) {
    addColumn(table, u"a", Long);
    addColumn(table, u"b", Long);
    auto index = std::make_unique<Index>(table, u"ix", false, true, 1);
    index->addColumn(*table.findField(u"a"), true);
    index->addColumn(*table.findField(u"b"));
    generator.createIndex(table.addIndex(std::move(index)));
    auto primary = std::make_unique<Key>(table, u"pk", u"", Key::Primary, 0, 0, false, false);
    primary->addColumn(u"a", u"");
    primary->addColumn(u"b", u"", true);
    Key& key = table.addKey(std::move(primary));
    generator.addKey(key);
    generator.createTable(table);

    EXPECT_EQ(script(), "CREATE TABLE [T] (\r\n\t[a] LONG,\r\n\t[b] LONG,\r\n"
                        "\tCONSTRAINT [pk] PRIMARY KEY ([a], [b] DESC)\r\n);\r\n"
                        "CREATE UNIQUE INDEX [ix]\r\n\tON [T] ([a] DESC, [b])"
                        "\r\n\tWITH DISALLOW NULL;\r\n"
                        "ALTER TABLE [T]\r\n\tADD CONSTRAINT [pk]\r\n\t PRIMARY KEY ([a], [b] "
                        "DESC);\r\n");
}

TEST_F(CommandGeneratorTest, KeyConstraintsAndTheirCategories) {
    addColumn(table, u"a", Long);
    addColumn(table, u"b", Long);
    Key& primary = addKey(table, u"pk", Key::Primary, {u"a", u"b"});
    Key& cascading = addForeignKey(table, u"fk1", u"P", {{u"a", u"x"}, {u"b", u"y"}},
                                   {.deleteRule = 2, .updateRule = 1});
    Key& loose =
        addForeignKey(table, u"fk2", u"P", {{u"a", u"x"}},
                      {.deleteRule = 1, .updateRule = 2, .notEnforced = true, .oneToOne = true});
    Key& oneToOne = addForeignKey(table, u"fk3", u"P", {{u"a", u"x"}},
                                  {.deleteRule = 3, .updateRule = 3, .oneToOne = true});

    generator.addKey(cascading);
    generator.addKey(primary);
    generator.recreateKey(loose);
    generator.recreateKey(primary);
    generator.addKey(oneToOne);

    EXPECT_EQ(script(), "ALTER TABLE [T]\r\n\tADD CONSTRAINT [pk]\r\n\t PRIMARY KEY ([a], [b]);\r\n"
                        "ALTER TABLE [T]\r\n\tADD CONSTRAINT [fk2]\r\n\tFOREIGN KEY NO INDEX ([a])"
                        " REFERENCES\r\n\t\t[P] ([x])\r\n\tON UPDATE SET NULL\r\n"
                        "\tON DELETE CASCADE;\r\n"
                        "ALTER TABLE [T]\r\n\tADD CONSTRAINT [pk]\r\n\t PRIMARY KEY ([a], [b]);\r\n"
                        "ALTER TABLE [T]\r\n\tADD CONSTRAINT [fk1]\r\n\tFOREIGN KEY ([a], [b])"
                        " REFERENCES\r\n\t\t[P] ([x], [y])\r\n\tON UPDATE CASCADE\r\n"
                        "\tON DELETE SET NULL;\r\n"
                        "ALTER TABLE [T]\r\n\tADD CONSTRAINT [fk3]\r\n\tFOREIGN KEY UNIQUE ([a])"
                        " REFERENCES\r\n\t\t[P] ([x]);\r\n");
    // New foreign keys are the one category the caller may leave out.
    EXPECT_EQ(script(false).find("fk1"), std::string::npos);
    EXPECT_NE(script(false).find("fk2"), std::string::npos);
}

TEST_F(CommandGeneratorTest, CheckConstraints) {
    CheckConstraint& check = addCheck(table, u"ck", u"[a] > 0 AND [a] < 10");
    generator.addCheck(check);
    generator.dropCheck(check);
    EXPECT_EQ(script(), "ALTER TABLE [T] DROP CONSTRAINT [ck];\r\n"
                        "ALTER TABLE [T]\r\n\tADD CONSTRAINT [ck]\r\n"
                        "\tCHECK ([a] > 0 AND [a] < 10);\r\n");
}

TEST_F(CommandGeneratorTest, LinkedTables) {
    TableLinkedAccess access(u"Local", u"Remote", u"C:\\data\\other.mdb");
    TableLinkedODBC odbc(u"Sales", u"dbo.Sales", u"ODBC;DSN=sales;UID=me");
    generator.linkAccessTable(access);
    generator.linkOdbcTable(odbc);
    EXPECT_EQ(script(), "LINK TABLE [Local]\r\n\tTO [Remote]\r\n\tSRC \"C:\\data\\other.mdb\";\r\n"
                        "LINK TABLE [Sales]\r\n\tTO [dbo.Sales]\r\n"
                        "\tODBC \"ODBC;DSN=sales;UID=me\";\r\n");
}

// Texts are kept as stored, except that one without a final ";" gets it: the runner ends a
// statement only at a line that ends with ";".
TEST_F(CommandGeneratorTest, ViewsAndProceduresKeepTheirTextAsStored) {
    View view(u"v", u"SELECT * FROM T;");
    Procedure plain(u"p1", u"DELETE FROM T");
    Procedure lowerCase(u"p2", u"parameters [x] Long;\r\nSELECT * FROM T WHERE a = [x];\r\n");
    Procedure twoParameters(u"p3", u"PARAMETERS\ta Text ( 255 ), b Long;DELETE FROM T;");

    generator.createView(view);
    generator.createProcedure(plain);
    generator.createProcedure(lowerCase);
    generator.createProcedure(twoParameters);

    // An action query without parameters is a procedure too: as a view the engine refuses it.
    EXPECT_EQ(script(), "CREATE VIEW [v] AS SELECT * FROM T;\r\n"
                        "CREATE PROCEDURE [p1] () AS DELETE FROM T;\r\n\r\n"
                        "CREATE PROCEDURE [p2] ([x] Long) AS \r\n"
                        "SELECT * FROM T WHERE a = [x];\r\n\r\n\r\n"
                        "CREATE PROCEDURE [p3] (a Text ( 255 ), b Long) AS DELETE FROM T;\r\n\r\n");
}

TEST_F(CommandGeneratorTest, AccessObjectsAsBase64InLinesOf72) {
    // 60 bytes give 80 Base64 characters: one full line and one of 8.
    const std::string content(60, 'x');
    Entity::Form form(u"Main", bytes(content));
    Entity::Module module(u"Code", bytes("Option Compare Database\r\n"));
    Entity::Macro macro(u"AutoExec", bytes("a"));
    Entity::Report report(u"Sales", bytes("ab"));
    Entity::Form empty(u"Empty", {});

    generator.setForm(form);
    generator.setModule(module);
    generator.setMacro(macro);
    generator.setReport(report);
    generator.setForm(empty);
    generator.dropForm(form);
    generator.dropModule(module);
    generator.dropMacro(macro);
    generator.dropReport(report);
    generator.dropTableDataMacro(TableDataMacro(u"T", {}));

    std::string quartets;
    for (int i = 0; i < 18; ++i)
        quartets += "eHh4";
    EXPECT_EQ(script(), "ALTER FORM [Main] SET base64(\"" + quartets + "\r\neHh4eHh4\r\n" +
                            "\");\r\n"
                            "ALTER MODULE [Code] SET base64(\"T3B0aW9uIENvbXBhcmUgRGF0YWJhc2UNCg=="
                            "\r\n\");\r\n"
                            "ALTER MACRO [AutoExec] SET base64(\"YQ==\r\n\");\r\n"
                            "ALTER REPORT [Sales] SET base64(\"YWI=\r\n\");\r\n"
                            "DROP FORM [Main];\r\n"
                            "DROP MODULE [Code];\r\n"
                            "DROP MACRO [AutoExec];\r\n"
                            "DROP REPORT [Sales];\r\n"
                            "DROP TABLE DATA MACRO [T];\r\n");
}

TEST_F(CommandGeneratorTest, AssemblyFollowsTheCategoryOrderNotTheCallOrder) {
    Table other(u"U");
    Field& field = addColumn(table, u"c", Long);
    Index& index = addIndex(table, u"ix", {u"c"});
    Key& primary = addKey(table, u"pk", Key::Primary, {u"c"});
    Key& unique = addKey(table, u"uk", Key::Unique, {u"c"});
    Key& foreign = addForeignKey(table, u"fk", u"U", {{u"c", u"c"}});
    CheckConstraint& check = addCheck(table, u"ck", u"c > 0");
    View view(u"v", u"SELECT 1");
    Procedure procedure(u"p", u"PARAMETERS x Long;SELECT x");
    Entity::Form form(u"f", bytes("f"));
    TableLinkedAccess link(u"l", u"r", u"s");

    // Last category first.
    generator.setForm(form);
    generator.createProcedure(procedure);
    generator.createView(view);
    generator.addCheck(check);
    generator.addKey(foreign);
    generator.addKey(primary);
    generator.recreateKey(foreign);
    generator.recreateKey(unique);
    generator.createIndex(index);
    generator.alterColumn(field);
    generator.addColumn(field);
    generator.linkAccessTable(link);
    generator.createTable(other);
    generator.dropView(view);
    generator.dropTable(other);
    generator.dropColumn(field);
    generator.dropIndex(index);
    generator.dropKey(primary);
    generator.dropKey(unique);
    generator.dropKey(foreign);

    const std::string text = script();
    const std::vector<std::string> order = {"DROP CONSTRAINT [fk]",
                                            "DROP CONSTRAINT [uk]",
                                            "DROP CONSTRAINT [pk]",
                                            "DROP INDEX",
                                            "DROP COLUMN",
                                            "DROP TABLE",
                                            "DROP VIEW",
                                            "CREATE TABLE",
                                            "LINK TABLE",
                                            "ADD COLUMN",
                                            "ALTER COLUMN",
                                            "CREATE INDEX",
                                            "CONSTRAINT [uk]\r\n\t UNIQUE",
                                            "CONSTRAINT [fk]\r\n\tFOREIGN",
                                            "CONSTRAINT [pk]\r\n\t PRIMARY",
                                            "CONSTRAINT [fk]\r\n\tFOREIGN",
                                            "CHECK",
                                            "CREATE VIEW",
                                            "CREATE PROCEDURE",
                                            "ALTER FORM"};
    std::size_t position = 0;
    for (const std::string& statement : order) {
        const std::size_t found = text.find(statement, position);
        ASSERT_NE(found, std::string::npos) << statement << " missing after " << position;
        position = found + statement.size();
    }
}

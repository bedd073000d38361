// Whole scripts of small comparisons, byte for byte.

#include "script/ScriptText.h"

#include "SchemaBuilders.h"
#include "compare/SchemaComparison.h"
#include "schema/AccessDataTypeName.h"
#include "schema/Database.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace testing_schema;

namespace {

class ScriptAssemblyTest : public ::testing::Test {
protected:
    Table& firstTable(std::u16string name) {
        return first->addTable(std::make_unique<Table>(std::move(name)));
    }
    Table& secondTable(std::u16string name) {
        return second->addTable(std::make_unique<Table>(std::move(name)));
    }
    // The same table in both databases, built by one function.
    template <class Build> void bothTables(std::u16string name, Build build) {
        build(firstTable(name));
        build(secondTable(name));
    }

    std::string script() {
        AccessDataTypeName dialect;
        SchemaComparison comparison(std::move(first), std::move(second), ComparisonOptions{},
                                    dialect);
        return text::toUtf8(scriptText(comparison));
    }

    std::unique_ptr<Database> first = std::make_unique<Database>(u"C:\\db\\first.mdb");
    std::unique_ptr<Database> second = std::make_unique<Database>(u"C:\\db\\second.accdb");
};

void customers(Table& table) {
    addField(table, {.name = u"ID", .type = Long, .autoincrement = true});
    addIndex(table, u"PrimaryKey", {u"ID"}, true, true, 1);
    addKey(table, u"PrimaryKey", Key::Primary, {u"ID"});
}

} // namespace

TEST_F(ScriptAssemblyTest, IdenticalSchemasGiveTheSentenceThatSaysSo) {
    bothTables(u"Customers", customers);
    EXPECT_EQ(script(), "The structure of the database C:\\db\\first.mdb and C:\\db\\second.accdb "
                        "are identical.");
}

TEST_F(ScriptAssemblyTest, NewTableWithKeysIndexesForeignKeysAttachmentAndDataMacro) {
    bothTables(u"Customers", customers);
    Table& orders = secondTable(u"Orders");
    addField(orders, {.name = u"ID", .type = Long, .autoincrement = true});
    addColumn(orders, u"CustomerID", Long);
    addColumn(orders, u"Photo", Attachment);
    addIndex(orders, u"PrimaryKey", {u"ID"}, true, true, 1);
    addIndex(orders, u"CustomersOrders", {u"CustomerID"});
    addIndex(orders, u"ByCustomer", {u"CustomerID", u"ID"}, false, false, 2);
    addIndex(orders, u"UPhoto", {u"Photo"}, false, true);
    addKey(orders, u"PrimaryKey", Key::Primary, {u"ID"});
    addKey(orders, u"UPhoto", Key::Unique, {u"Photo"});
    addForeignKey(orders, u"CustomersOrders", u"Customers", {{u"CustomerID", u"ID"}},
                  {.deleteRule = Key::RuleCascade});
    addCheck(orders, u"PositiveID", u"[ID] > 0");
    orders.setTableDataMacro(std::make_unique<TableDataMacro>(u"Orders", bytes("<DataMacros/>")));

    EXPECT_EQ(script(), "CREATE TABLE [Orders] (\r\n"
                        "\t[ID] AUTOINCREMENT,\r\n"
                        "\t[CustomerID] LONG,\r\n"
                        "\tCONSTRAINT [PrimaryKey] PRIMARY KEY ([ID])\r\n"
                        ");\r\n"
                        "ALTER TABLE [Orders]\r\n"
                        "\tADD COLUMN [Photo] ATTACHMENT;\r\n"
                        "CREATE INDEX [ByCustomer]\r\n"
                        "\tON [Orders] ([CustomerID], [ID])\r\n"
                        "\tWITH IGNORE NULL;\r\n"
                        "ALTER TABLE [Orders]\r\n"
                        "\tADD CONSTRAINT [UPhoto]\r\n"
                        "\t UNIQUE ([Photo]);\r\n"
                        "ALTER TABLE [Orders]\r\n"
                        "\tADD CONSTRAINT [CustomersOrders]\r\n"
                        "\tFOREIGN KEY ([CustomerID]) REFERENCES\r\n"
                        "\t\t[Customers] ([ID])\r\n"
                        "\tON DELETE CASCADE;\r\n"
                        "ALTER TABLE [Orders]\r\n"
                        "\tADD CONSTRAINT [PositiveID]\r\n"
                        "\tCHECK ([ID] > 0);\r\n"
                        "ALTER TABLE [Orders] DATA MACRO SET base64(\"PERhdGFNYWNyb3MvPg==\r\n"
                        "\");\r\n");
}

TEST_F(ScriptAssemblyTest, DroppedTableWhosePrimaryKeyHasDependantsThatSurvive) {
    Table& old = firstTable(u"Customers");
    customers(old);
    addColumn(old, u"Name", Text, 50);
    addIndex(old, u"ByName", {u"Name"});
    addCheck(old, u"NameSet", u"[Name] <> ''");
    old.setTableDataMacro(std::make_unique<TableDataMacro>(u"Customers", bytes("m")));
    customers(secondTable(u"Clients"));
    for (auto* database : {first.get(), second.get()}) {
        Table& orders = database->addTable(std::make_unique<Table>(u"Orders"));
        addColumn(orders, u"CustomerID", Long);
        addForeignKey(orders, u"Buyer", database == first.get() ? u"Customers" : u"Clients",
                      {{u"CustomerID", u"ID"}});
    }

    EXPECT_EQ(script(), "ALTER TABLE [Orders] DROP CONSTRAINT [Buyer];\r\n"
                        "ALTER TABLE [Customers] DROP CONSTRAINT [PrimaryKey];\r\n"
                        "DROP TABLE [Customers];\r\n"
                        "CREATE TABLE [Clients] (\r\n"
                        "\t[ID] AUTOINCREMENT,\r\n"
                        "\tCONSTRAINT [PrimaryKey] PRIMARY KEY ([ID])\r\n"
                        ");\r\n"
                        "ALTER TABLE [Orders]\r\n"
                        "\tADD CONSTRAINT [Buyer]\r\n"
                        "\tFOREIGN KEY ([CustomerID]) REFERENCES\r\n"
                        "\t\t[Clients] ([ID]);\r\n");
}

TEST_F(ScriptAssemblyTest, LongerKeyColumnTakesItsKeysAndTheirDependantsAlong) {
    for (int length : {10, 20}) {
        Database& database = length == 10 ? *first : *second;
        Table& table = database.addTable(std::make_unique<Table>(u"Customers"));
        addField(table, {.name = u"Code", .type = Text, .length = length});
        addColumn(table, u"Other", Long);
        addKey(table, u"PK", Key::Primary, {u"Code"});
        addKey(table, u"OtherKey", Key::Unique, {u"Other"});
        Table& orders = database.addTable(std::make_unique<Table>(u"Orders"));
        // The referencing column keeps its length: only the key it refers to changes.
        addField(orders, {.name = u"CustCode", .type = Text, .length = 10, .nullable = true});
        addForeignKey(orders, u"FK_Orders", u"Customers", {{u"CustCode", u"Code"}});
        addForeignKey(orders, u"FK_Other", u"Customers", {{u"CustCode", u"Other"}});
    }

    EXPECT_EQ(script(), "ALTER TABLE [Orders] DROP CONSTRAINT [FK_Orders];\r\n"
                        "ALTER TABLE [Customers] DROP CONSTRAINT [PK];\r\n"
                        "ALTER TABLE [Customers]\r\n"
                        "\tALTER COLUMN [Code] TEXT(20) NOT NULL DEFAULT ;\r\n"
                        "ALTER TABLE [Customers] DENY ZERO LENGTH [Code];\r\n"
                        "ALTER TABLE [Customers]\r\n"
                        "\tADD CONSTRAINT [PK]\r\n"
                        "\t PRIMARY KEY ([Code]);\r\n"
                        "ALTER TABLE [Orders]\r\n"
                        "\tADD CONSTRAINT [FK_Orders]\r\n"
                        "\tFOREIGN KEY ([CustCode]) REFERENCES\r\n"
                        "\t\t[Customers] ([Code]);\r\n");
}

TEST_F(ScriptAssemblyTest, ChangedPrimaryKeyWhoseDependantsWereDeleted) {
    for (Database* database : {first.get(), second.get()}) {
        const bool isFirst = database == first.get();
        Table& a = database->addTable(std::make_unique<Table>(u"A"));
        addColumn(a, u"ID", Long);
        if (isFirst) {
            addIndex(a, u"PK", {u"ID"}, true, true);
            addKey(a, u"PK", Key::Primary, {u"ID"});
        } else {
            addColumn(a, u"X", Long);
            addIndex(a, u"PK", {u"ID", u"X"}, true, true);
            addKey(a, u"PK", Key::Primary, {u"ID", u"X"});
        }
        Table& b = database->addTable(std::make_unique<Table>(u"B"));
        addColumn(b, u"AID", Long);
        if (isFirst)
            addForeignKey(b, u"FK_B", u"A", {{u"AID", u"ID"}});
    }

    EXPECT_EQ(script(), "ALTER TABLE [B] DROP CONSTRAINT [FK_B];\r\n"
                        "ALTER TABLE [A] DROP CONSTRAINT [PK];\r\n"
                        "ALTER TABLE [A]\r\n"
                        "\tADD COLUMN [X] LONG;\r\n"
                        "ALTER TABLE [A]\r\n"
                        "\tADD CONSTRAINT [PK]\r\n"
                        "\t PRIMARY KEY ([ID], [X]);\r\n");
}

TEST_F(ScriptAssemblyTest, DefaultsThatFitAndThatDoNot) {
    Table& old = firstTable(u"T");
    addField(old, {.name = u"d", .type = Double, .defaultText = u"1", .nullable = true});
    addField(old, {.name = u"w", .type = DateTime, .nullable = true});
    Table& now = secondTable(u"T");
    addField(now, {.name = u"d", .type = Double, .defaultText = u"5.", .nullable = true});
    addField(now, {.name = u"w", .type = DateTime, .defaultText = u"#1/1/2000#", .nullable = true});
    addField(now, {.name = u"n", .type = Long, .defaultText = u"abc", .nullable = true});
    addField(now, {.name = u"m", .type = Long, .defaultText = u"+3", .nullable = true});

    EXPECT_EQ(script(), "ALTER TABLE [T]\r\n"
                        "\tADD COLUMN [n] LONG;\r\n"
                        "ALTER TABLE [T] DEFAULT [n] SET abc;\r\n"
                        "ALTER TABLE [T]\r\n"
                        "\tADD COLUMN [m] LONG DEFAULT +3;\r\n"
                        "ALTER TABLE [T]\r\n"
                        "\tALTER COLUMN [d] DOUBLE;\r\n"
                        "ALTER TABLE [T] DEFAULT [d] SET 5.;\r\n"
                        "ALTER TABLE [T]\r\n"
                        "\tALTER COLUMN [w] DATETIME DEFAULT '1/1/2000';\r\n");
}

TEST_F(ScriptAssemblyTest, PropertyChangesAloneNeedNoAlterColumn) {
    for (Database* database : {first.get(), second.get()}) {
        const bool isFirst = database == first.get();
        Table& table = database->addTable(std::make_unique<Table>(u"T"));
        addColumn(table, u"f", Text, 10).setFormat(isFirst ? u">" : u"");
        addField(table, {.name = u"m", .type = Memo, .nullable = true, .allowZeroLength = isFirst});
        Field& number = addColumn(table, u"n", Long);
        if (!isFirst)
            number.setDecimalPlaces(2);
        // A position or validation rule of its own has no statement.
        addField(table, {.name = u"v",
                         .type = Long,
                         .nullable = true,
                         .validationRule = isFirst ? u"" : u">0"});
    }

    EXPECT_EQ(script(), "ALTER TABLE [T] FORMAT [f] SET \"\";\r\n"
                        "ALTER TABLE [T] DENY ZERO LENGTH [m];\r\n"
                        "ALTER TABLE [T] DECIMAL PLACES [n] SET 2;\r\n");
}

TEST_F(ScriptAssemblyTest, ChangedIndexIsDroppedEarlyAndCreatedLate) {
    for (Database* database : {first.get(), second.get()}) {
        const bool isFirst = database == first.get();
        Table& table = database->addTable(std::make_unique<Table>(u"T"));
        addColumn(table, u"a", Long);
        if (!isFirst)
            addColumn(table, u"b", Long);
        addIndex(table, u"ix", {u"a"}, false, false, isFirst ? 0 : 1);
        addCheck(table, u"ck", isFirst ? u"a > 0" : u"a > 1");
    }

    EXPECT_EQ(script(), "ALTER TABLE [T] DROP CONSTRAINT [ck];\r\n"
                        "DROP INDEX [ix] ON [T];\r\n"
                        "ALTER TABLE [T]\r\n"
                        "\tADD COLUMN [b] LONG;\r\n"
                        "CREATE INDEX [ix]\r\n"
                        "\tON [T] ([a])\r\n"
                        "\tWITH DISALLOW NULL;\r\n"
                        "ALTER TABLE [T]\r\n"
                        "\tADD CONSTRAINT [ck]\r\n"
                        "\tCHECK (a > 1);\r\n");
}

// A unique index with a null rule is also a unique key; only the index form keeps the rule,
// whether the key is new, comes with a new table or is made again for a longer column. A key
// whose index has no rule stays a constraint.
namespace {

void uniqueOnNullRule(Table& table, std::u16string name, const char16_t* column, int nulls) {
    addIndex(table, name, {column}, false, true, nulls);
    addKey(table, std::move(name), Key::Unique, {column});
}

} // namespace

TEST_F(ScriptAssemblyTest, UniqueKeyWhoseIndexHasANullRuleIsWrittenAsTheIndex) {
    for (Database* database : {first.get(), second.get()}) {
        const bool isFirst = database == first.get();
        Table& table = database->addTable(std::make_unique<Table>(u"T"));
        addColumn(table, u"a", Long);
        addColumn(table, u"b", Long);
        addColumn(table, u"c", Text, isFirst ? 10 : 20);
        uniqueOnNullRule(table, u"uc", u"c", 1);
        if (isFirst)
            continue;
        uniqueOnNullRule(table, u"ua", u"a", 2);
        uniqueOnNullRule(table, u"ub", u"b", 0);
        Table& fresh = database->addTable(std::make_unique<Table>(u"N"));
        addColumn(fresh, u"x", Long);
        uniqueOnNullRule(fresh, u"ux", u"x", 2);
    }

    EXPECT_EQ(script(), "ALTER TABLE [T] DROP CONSTRAINT [uc];\r\n"
                        "CREATE TABLE [N] (\r\n"
                        "\t[x] LONG\r\n"
                        ");\r\n"
                        "ALTER TABLE [T]\r\n"
                        "\tALTER COLUMN [c] TEXT(20) DEFAULT ;\r\n"
                        "ALTER TABLE [T] DENY ZERO LENGTH [c];\r\n"
                        "CREATE UNIQUE INDEX [ux]\r\n"
                        "\tON [N] ([x])\r\n"
                        "\tWITH IGNORE NULL;\r\n"
                        "CREATE UNIQUE INDEX [ua]\r\n"
                        "\tON [T] ([a])\r\n"
                        "\tWITH IGNORE NULL;\r\n"
                        "CREATE UNIQUE INDEX [uc]\r\n"
                        "\tON [T] ([c])\r\n"
                        "\tWITH DISALLOW NULL;\r\n"
                        "ALTER TABLE [T]\r\n"
                        "\tADD CONSTRAINT [ub]\r\n"
                        "\t UNIQUE ([b]);\r\n");
}

TEST_F(ScriptAssemblyTest, PlansAreWrittenInTheOrderOfLowerCasedTableNames) {
    for (const char16_t* name : {u"b", u"A", u"C"}) {
        addColumn(firstTable(name), u"x", Long);
        Table& table = secondTable(name);
        addColumn(table, u"x", Long);
        addIndex(table, std::u16string(u"i") + name, {u"x"});
    }

    EXPECT_EQ(script(), "CREATE INDEX [iA]\r\n\tON [A] ([x]);\r\n"
                        "CREATE INDEX [ib]\r\n\tON [b] ([x]);\r\n"
                        "CREATE INDEX [iC]\r\n\tON [C] ([x]);\r\n");
}

TEST_F(ScriptAssemblyTest, ViewsAndProcedures) {
    first->addView(std::make_unique<View>(u"v1", u"SELECT a FROM T;"));
    // A query that changed its kind is dropped as the view it was.
    first->addView(std::make_unique<View>(u"kind", u"SELECT a FROM T;"));
    second->addProcedure(std::make_unique<Procedure>(u"kind", u"DELETE FROM T;"));
    first->addProcedure(std::make_unique<Procedure>(u"old", u"DELETE FROM T;"));
    first->addProcedure(std::make_unique<Procedure>(u"p0", u"PARAMETERS a Long;DELETE FROM T;"));
    second->addView(std::make_unique<View>(u"v1", u"SELECT a, b FROM T;"));
    second->addView(std::make_unique<View>(u"V1", u"SELECT b FROM T;"));
    second->addProcedure(
        std::make_unique<Procedure>(u"p0", u"PARAMETERS a Long;DELETE FROM T WHERE a = 1;"));
    second->addProcedure(std::make_unique<Procedure>(
        u"p1", u"parameters [x] Long, [y] Text ( 5 );\r\nSELECT [x], [y];\r\n"));
    second->addProcedure(std::make_unique<Procedure>(u"p2", u"UPDATE T SET a = 1;"));

    EXPECT_EQ(script(), "DROP VIEW [v1];\r\n"
                        "DROP VIEW [kind];\r\n"
                        "DROP PROCEDURE [old];\r\n"
                        "DROP PROCEDURE [p0];\r\n"
                        "CREATE VIEW [v1] AS SELECT a, b FROM T;\r\n"
                        "CREATE VIEW [V1] AS SELECT b FROM T;\r\n"
                        "CREATE PROCEDURE [kind] () AS DELETE FROM T;\r\n\r\n"
                        "CREATE PROCEDURE [p0] (a Long) AS DELETE FROM T WHERE a = 1;\r\n\r\n"
                        "CREATE PROCEDURE [p1] ([x] Long, [y] Text ( 5 )) AS \r\n"
                        "SELECT [x], [y];\r\n\r\n\r\n"
                        "CREATE PROCEDURE [p2] () AS UPDATE T SET a = 1;\r\n\r\n");
}

TEST_F(ScriptAssemblyTest, AccessDocumentsAndLinkedTables) {
    first->addForm(std::make_unique<Entity::Form>(u"Main", bytes("old")));
    first->addMacro(std::make_unique<Entity::Macro>(u"Gone", bytes("m")));
    first->addReport(std::make_unique<Entity::Report>(u"Sales", bytes("r")));
    first->addLinkedTable(std::make_unique<TableLinkedAccess>(u"L1", u"R", u"a.mdb"));
    second->addForm(std::make_unique<Entity::Form>(u"Main", bytes("new")));
    second->addForm(std::make_unique<Entity::Form>(u"Blank", Entity::Form::Bytes{}));
    second->addModule(std::make_unique<Entity::Module>(u"Code", bytes("c")));
    second->addMacro(std::make_unique<Entity::Macro>(u"AutoExec", bytes("a")));
    second->addLinkedTable(std::make_unique<TableLinkedODBC>(u"L2", u"R", u"ODBC;DSN=x"));

    EXPECT_EQ(script(), "ALTER FORM [Main] SET base64(\"bmV3\r\n\");\r\n"
                        "ALTER MODULE [Code] SET base64(\"Yw==\r\n\");\r\n"
                        "DROP MACRO [Gone];\r\n"
                        "ALTER MACRO [AutoExec] SET base64(\"YQ==\r\n\");\r\n"
                        "DROP REPORT [Sales];\r\n");
}

TEST_F(ScriptAssemblyTest, ChangedDataMacrosAndThoseOfExistingTables) {
    for (const char16_t* name : {u"A", u"B", u"C"})
        bothTables(name, [](Table& table) { addColumn(table, u"x", Long); });
    first->findTable(u"A")->setTableDataMacro(std::make_unique<TableDataMacro>(u"A", bytes("1")));
    second->findTable(u"A")->setTableDataMacro(std::make_unique<TableDataMacro>(u"A", bytes("2")));
    first->findTable(u"B")->setTableDataMacro(std::make_unique<TableDataMacro>(u"B", bytes("1")));
    second->findTable(u"C")->setTableDataMacro(std::make_unique<TableDataMacro>(u"C", bytes("3")));

    EXPECT_EQ(script(), "ALTER TABLE [A] DATA MACRO SET base64(\"Mg==\r\n\");\r\n"
                        "DROP TABLE DATA MACRO [B];\r\n"
                        "ALTER TABLE [C] DATA MACRO SET base64(\"Mw==\r\n\");\r\n");
}

TEST_F(ScriptAssemblyTest, AKeyOfAnUnknownTypeLeavesNoScript) {
    Table& table = firstTable(u"T");
    addColumn(table, u"a", Long);
    addKey(table, u"odd", 0, {u"a"});
    addColumn(secondTable(u"T"), u"a", Long);

    EXPECT_THROW(script(), std::invalid_argument);
}

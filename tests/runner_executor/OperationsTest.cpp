// Each kind of command carried out on a real embedded database, its effect read back through
// the engine's object model.

#include "Capabilities.h"
#include "ExecutorFixture.h"

#include <cmath>

using namespace executortest;
using engine::Variant;

namespace {

const char16_t* const products = u"CREATE TABLE [Products] (\r\n"
                                 u"\t[Id] LONG NOT NULL,\r\n"
                                 u"\t[Name] TEXT(50),\r\n"
                                 u"\t[Notes] MEMO,\r\n"
                                 u"\t[Price] CURRENCY,\r\n"
                                 u"\t[Weight] DOUBLE,\r\n"
                                 u"\t[Picture] LONGBINARY,\r\n"
                                 u"\tCONSTRAINT [PK_Products] PRIMARY KEY ([Id])\r\n"
                                 u");\r\n";

} // namespace

class OperationsTest : public ExecutorTest {
protected:
    void SetUp() override {
        ExecutorTest::SetUp();
        runOk(products);
    }

    // The field stays alive while its properties are read.
    engine::Variant fieldProperty(const std::u16string& column, const std::u16string& name) {
        std::shared_ptr<engine::dao::Field> products = field(u"Products", column);
        return products->properties()->value(name);
    }
};

TEST_F(OperationsTest, PlainSqlChangesTheDatabase) {
    SKIP_WITHOUT_DATA_STATEMENTS();
    runOk(u"INSERT INTO [Products] ([Id], [Name]) VALUES (1, 'Tea');\r\n"
          u"UPDATE [Products] SET [Price] = 3.5 WHERE [Id] = 1;\r\n"
          u"ALTER TABLE [Products] ADD COLUMN [Stock] LONG;\r\n");
    EXPECT_EQ(rows(u"SELECT [Id], [Name], [Price] FROM [Products]"),
              std::vector<std::string>{"1|Tea|3.5"});
    EXPECT_EQ(column(u"Products", u"Stock")->type(), engine::type::integer);
}

TEST_F(OperationsTest, InsertBindsTextBytesAndSpecialNumbers) {
    SKIP_WITHOUT_DATA_STATEMENTS();
    runOk(u"INSERT INTO [Products] ([Id], [Name], [Picture], [Weight]) VALUES "
          u"(7, \"a\" & chr(13) & chr(10) & \"b\", base64(\"QUJD\"), -1.#INF);");
    EXPECT_EQ(value(u"SELECT [Name] FROM [Products] WHERE [Id] = 7"), Variant(u"a\r\nb"));
    EXPECT_EQ(value(u"SELECT [Picture] FROM [Products] WHERE [Id] = 7"),
              Variant(Variant::Bytes{'A', 'B', 'C'}));
    std::optional<double> weight =
        value(u"SELECT [Weight] FROM [Products] WHERE [Id] = 7").toDouble();
    ASSERT_TRUE(weight);
    EXPECT_TRUE(std::isinf(*weight) && *weight < 0);
}

TEST_F(OperationsTest, UpdateBindsTextBuiltWithChr) {
    SKIP_WITHOUT_DATA_STATEMENTS();
    runOk(u"INSERT INTO [Products] ([Id], [Name]) VALUES (1, 'x');\r\n"
          u"UPDATE [Products] SET [Name]=\"say \" & chr(34) & \"hi\" & chr(34), "
          u"[Weight]=2 WHERE [Id]=1;");
    EXPECT_EQ(rows(u"SELECT [Name], [Weight] FROM [Products]"),
              std::vector<std::string>{"say \"hi\"|2"});
}

TEST_F(OperationsTest, ValidationRuleIsSetAndDropped) {
    runOk(u"ALTER TABLE [Products] ADD CONSTRAINT [[Price].ValidationRule] CHECK ([Price] >= 0);");
    auto rule = [&] {
        return column(u"Products", u"Price")
            ->properties()
            ->value(u"Jet OLEDB:Column Validation Rule");
    };
    EXPECT_EQ(rule(), Variant(u"[Price] >= 0"));
    runOk(u"ALTER TABLE [Products] DROP CONSTRAINT [[Price].ValidationRule];");
    EXPECT_EQ(rule(), Variant(u""));
}

TEST_F(OperationsTest, ZeroLengthIsAllowedAndDenied) {
    runOk(u"ALTER TABLE [Products] ALLOW ZERO LENGTH [Name];");
    EXPECT_TRUE(field(u"Products", u"Name")->allowZeroLength());
    runOk(u"ALTER TABLE [Products] DENY ZERO LENGTH [Name];");
    EXPECT_FALSE(field(u"Products", u"Name")->allowZeroLength());
}

// The body is stored with one final ";", however the statement ended, so that the script
// written from it splits into the same statements again.
TEST_F(OperationsTest, ViewIsStoredWithItsBodyAndOneSemicolon) {
    runOk(u"CREATE VIEW [Cheap] AS SELECT [Id], [Name] FROM [Products] WHERE [Price] < 5;\r\n"
          u"CREATE VIEW [Twice] AS SELECT [Id] FROM [Products];;\r\n"
          u"CREATE VIEW [Last] AS SELECT [Name] FROM [Products]");
    auto views = reader().adoxCatalog()->views();
    EXPECT_EQ(u8(views->item(u"Cheap")->command()->commandText()),
              "SELECT [Id], [Name] FROM [Products] WHERE [Price] < 5;");
    EXPECT_EQ(u8(views->item(u"Twice")->command()->commandText()), "SELECT [Id] FROM [Products];");
    EXPECT_EQ(u8(views->item(u"Last")->command()->commandText()), "SELECT [Name] FROM [Products];");
}

TEST_F(OperationsTest, ViewSelectsItsRows) {
    SKIP_WITHOUT_DATA_STATEMENTS();
    runOk(u"CREATE VIEW [Cheap] AS SELECT [Id], [Name] FROM [Products] WHERE [Price] < 5;\r\n"
          u"INSERT INTO [Products] ([Id], [Name], [Price]) VALUES (1, 'Tea', 3);\r\n"
          u"INSERT INTO [Products] ([Id], [Name], [Price]) VALUES (2, 'Pot', 30);");
    EXPECT_EQ(rows(u"SELECT [Name] FROM [Cheap]"), std::vector<std::string>{"Tea"});
}

TEST_F(OperationsTest, ProcedureGetsItsParametersClause) {
    runOk(u"CREATE PROCEDURE [ByName] ([pName] TEXT(255)) AS SELECT * FROM [Products] "
          u"WHERE [Name] = [pName];\r\n"
          u"CREATE PROCEDURE [ClearAll] () AS DELETE FROM [Products];");
    auto procedures = reader().adoxCatalog()->procedures();
    EXPECT_EQ(u8(procedures->item(u"ByName")->command()->commandText()),
              "PARAMETERS [pName] TEXT(255);SELECT * FROM [Products] WHERE [Name] = [pName];");
    EXPECT_EQ(u8(procedures->item(u"ClearAll")->command()->commandText()),
              "DELETE FROM [Products];");
}

TEST_F(OperationsTest, LinkedTablesKeepTheirSourceAndRemoteName) {
    runOk(u"LINK TABLE [Suppliers]\r\n\tTO [tblSuppliers]\r\n\tSRC \"/data/suppliers.mdb\";\r\n"
          u"LINK TABLE [Orders]\r\n\tTO [dbo.Orders]\r\n\tODBC \"ODBC;DSN=Shop;\";");
    auto tables = reader().adoxCatalog()->tables();
    auto access = tables->item(u"Suppliers");
    EXPECT_EQ(u8(access->type()), "LINK");
    EXPECT_EQ(access->properties()->value(u"Jet OLEDB:Link Datasource"),
              Variant(u"/data/suppliers.mdb"));
    EXPECT_EQ(access->properties()->value(u"Jet OLEDB:Remote Table Name"),
              Variant(u"tblSuppliers"));
    auto odbc = tables->item(u"Orders");
    EXPECT_EQ(u8(odbc->type()), "PASS-THROUGH");
    // The engine keeps the connect text without its "ODBC;", as a reader expects it.
    EXPECT_EQ(odbc->properties()->value(u"Jet OLEDB:Link Provider String"), Variant(u"DSN=Shop;"));
    EXPECT_EQ(odbc->properties()->value(u"Jet OLEDB:Remote Table Name"), Variant(u"dbo.Orders"));
}

TEST_F(OperationsTest, ForeignKeysWithoutIndexBecomeRelations) {
    runOk(u"CREATE TABLE [Items] ([Id] LONG, [ProductId] LONG, [Code] LONG);\r\n"
          u"ALTER TABLE [Items]\r\n\tADD CONSTRAINT [FK_Loose]\r\n\tFOREIGN KEY NO INDEX "
          u"([ProductId]) REFERENCES\r\n\t\t[Products] ([Id])\r\n\tON DELETE CASCADE;\r\n"
          u"ALTER TABLE [Items] ADD CONSTRAINT [FK_One] FOREIGN KEY UNIQUE ([Code]) "
          u"REFERENCES [Products] ([Id]) ON UPDATE CASCADE;");
    auto database = reader().daoDatabase();
    auto loose = database->relations()->item(u"FK_Loose");
    EXPECT_EQ(u8(loose->table()), "Products");
    EXPECT_EQ(u8(loose->foreignTable()), "Items");
    EXPECT_EQ(loose->attributes(), 2 + 0x1000);
    ASSERT_EQ(loose->fields()->count(), 1);
    EXPECT_EQ(u8(loose->fields()->item(0)->name()), "Id");
    EXPECT_EQ(u8(loose->fields()->item(0)->foreignName()), "ProductId");
    EXPECT_EQ(database->relations()->item(u"FK_One")->attributes(), 1 + 0x100);
    EXPECT_THROW(database->tableDefs()->item(u"Items")->indexes()->item(u"FK_Loose"),
                 engine::EngineError);
}

TEST_F(OperationsTest, DefaultValueIsStoredAsWritten) {
    runOk(u"ALTER TABLE [Products] DEFAULT [Name] SET \"none\";\r\n"
          u"ALTER TABLE [Products] DEFAULT [Weight] SET 1.5;");
    EXPECT_EQ(field(u"Products", u"Name")->defaultValue(), Variant(u"\"none\""));
    EXPECT_EQ(column(u"Products", u"Weight")->properties()->value(u"Default"), Variant(u"1.5"));
}

TEST_F(OperationsTest, AttachmentColumnIsAppended) {
    runOk(u"ALTER TABLE [Products] ADD COLUMN [Manuals] ATTACHMENT;");
    EXPECT_EQ(field(u"Products", u"Manuals")->type(), engine::daotype::attachment);
}

TEST_F(OperationsTest, DecimalPlacesAreCreatedThenChanged) {
    runOk(u"ALTER TABLE [Products] DECIMAL PLACES [Weight] SET 2;");
    EXPECT_EQ(fieldProperty(u"Weight", u"DecimalPlaces").toInt(), 2);
    runOk(u"ALTER TABLE [Products] DECIMAL PLACES [Weight] SET AUTO;");
    EXPECT_EQ(fieldProperty(u"Weight", u"DecimalPlaces").toInt(), 255);
}

TEST_F(OperationsTest, FormatIsSetChangedAndRemoved) {
    runOk(u"ALTER TABLE [Products] FORMAT [Price] SET \"Currency\";");
    EXPECT_EQ(fieldProperty(u"Price", u"Format"), Variant(u"Currency"));
    runOk(u"ALTER TABLE [Products] FORMAT [Price] SET \"Fixed\";");
    EXPECT_EQ(fieldProperty(u"Price", u"Format"), Variant(u"Fixed"));
    // Removing it twice: the second time the column has none, which is no failure.
    runOk(u"ALTER TABLE [Products] FORMAT [Price] SET \"\";\r\n"
          u"ALTER TABLE [Products] FORMAT [Price] SET \"\";");
    EXPECT_THROW(fieldProperty(u"Price", u"Format"), engine::EngineError);
}

TEST_F(OperationsTest, CalculatedColumnIsRebuiltWithTheNewExpression) {
    SKIP_WITHOUT_DATA_STATEMENTS();
    runOk(u"INSERT INTO [Products] ([Id], [Price]) VALUES (1, 10);\r\n"
          u"ALTER TABLE [Products] ADD COLUMN [Gross] CURRENCY;\r\n"
          u"ALTER TABLE [Products] EXPRESSION [Gross] SET \"[Price]*1.2\";");
    EXPECT_EQ(fieldProperty(u"Gross", u"Expression"), Variant(u"[Price]*1.2"));
    runOk(u"ALTER TABLE [Products] EXPRESSION [Gross] SET \"[Price]*1.25\";");
    auto gross = field(u"Products", u"Gross");
    EXPECT_EQ(gross->type(), engine::daotype::currency);
    EXPECT_EQ(gross->properties()->value(u"Expression"), Variant(u"[Price]*1.25"));
    // The rest of the row is untouched.
    EXPECT_EQ(rows(u"SELECT [Id], [Price] FROM [Products]"), std::vector<std::string>{"1|10"});
}

TEST_F(OperationsTest, FailedColumnPropertyNamesTheMissingColumn) {
    RunResult result = run(u"ALTER TABLE [Products] ALLOW ZERO LENGTH [Nope];");
    EXPECT_TRUE(result.hasErrors);
    EXPECT_EQ(u8(result.report),
              "1\tALTER TABLE [Products] ALLOW ZERO LENGTH [Nope]\r\n\r\nError: Item cannot be "
              "found in the collection corresponding to the requested name or ordinal.\r\n\r\n"
              "Error(s): 1\r\n");
}

// Commands that succeeded before a failure stay done; the failed one leaves nothing behind.
TEST_F(OperationsTest, FailureLeavesTheEarlierCommandsInPlace) {
    SKIP_WITHOUT_DATA_STATEMENTS();
    RunResult result = run(u"INSERT INTO [Products] ([Id], [Name]) VALUES (1, 'Tea');\r\n"
                           u"INSERT INTO [Products] ([Id], [Name]) VALUES (1, 'Again');\r\n"
                           u"INSERT INTO [Products] ([Id], [Name]) VALUES (3, 'Never');\r\n");
    EXPECT_TRUE(result.hasErrors);
    EXPECT_EQ(rows(u"SELECT [Id], [Name] FROM [Products]"), std::vector<std::string>{"1|Tea"});
}

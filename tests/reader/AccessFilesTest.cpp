#include "ReaderFixture.h"
#include "foundation/engine/api/Codes.h"
#include "schema/AccessDataTypeName.h"
#include "tests/foundation/mdbfile/PatchedColumnType.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace readertest {

namespace {

const std::u16string kNoAccess = u"Can't run MS Access\r\nCan't find path to MSAccess\r\n";

std::filesystem::path accessFile(const std::string& name) {
    return std::filesystem::path(KEL_ACCESS_DATA_DIR) / name;
}

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::u16string> tableNames(const Database& schema) {
    std::vector<std::u16string> names;
    for (const auto& table : schema.tables())
        names.push_back(table->name());
    return names;
}

const Field& field(const Table& table, std::u16string_view name) {
    const Field* found = table.findFieldExact(name);
    if (!found)
        throw std::runtime_error("no field " + utf8(name) + " in " + utf8(table.name()));
    return *found;
}

const Index* findIndex(const Table& table, std::u16string_view name) {
    for (const auto& index : table.indexes())
        if (index->name() == name)
            return index.get();
    return nullptr;
}

const View* findQuery(const Database& schema, std::u16string_view name) {
    for (const auto& query : schema.viewsAndProcedures())
        if (query->name() == name)
            return query.get();
    return nullptr;
}

std::vector<std::u16string> queryNames(const Database& schema, ElementKind kind) {
    std::vector<std::u16string> names;
    for (const auto& query : schema.viewsAndProcedures())
        if (query->kind() == kind)
            names.push_back(query->name());
    std::sort(names.begin(), names.end());
    return names;
}

// Reads a shared Access file in place with the forms switch on, as a machine without Access.
class AccessFiles : public ::testing::Test {
protected:
    std::unique_ptr<Database> readFile(const std::string& name) {
        description.path = u16(accessFile(name));
        options.compareForms = true;
        reader = std::make_unique<reader::SchemaReader>(description, options);
        auto schema = reader->read(progress);
        EXPECT_TRUE(schema) << name << ": " << utf8(reader->errorText());
        if (schema) {
            EXPECT_EQ(reader->warningsText(), kNoAccess) << name;
        }
        return schema;
    }

    database::DatabaseDescription description;
    settings::comparer::Options options;
    settings::FakeProgress progress;
    std::unique_ptr<reader::SchemaReader> reader;
};

} // namespace

TEST_F(AccessFiles, NorthwindWithKeysRelationshipsAndQueriesAndTheFileUntouched) {
    const std::string before = contentOf(accessFile("nwind.mdb"));
    auto schema = readFile("nwind.mdb");
    ASSERT_TRUE(schema);
    EXPECT_EQ(contentOf(accessFile("nwind.mdb")), before);
    EXPECT_EQ(tableNames(*schema),
              (std::vector<std::u16string>{u"Categories", u"Customers", u"Employees",
                                           u"Order Details", u"Orders", u"Products", u"Shippers",
                                           u"Suppliers", u"Umsätze"}));
    const Table& orders = *schema->findTable(u"Orders");
    EXPECT_EQ(orders.fields().size(), 14u);
    EXPECT_EQ(orders.fields().front()->name(), u"OrderID");
    EXPECT_EQ(orders.findKeyExact(u"PrimaryKey")->columnsText(), u"OrderID");
    const Key& customers = *orders.findKeyExact(u"CustomersOrders");
    EXPECT_EQ(customers.type(), Key::Foreign);
    EXPECT_EQ(customers.columnsText(), u"CustomerID->Customers.CustomerID");
    EXPECT_EQ(customers.relatedTable(), schema->findTable(u"Customers"));
    EXPECT_EQ(schema->findTable(u"Order Details")->findKeyExact(u"PrimaryKey")->columnsText(),
              u"OrderID, ProductID");
    EXPECT_EQ(schema->findTable(u"Categories")->findKeyExact(u"CategoryName")->type(), Key::Unique);
    EXPECT_EQ(schema->viewsAndProcedures().size(), 22u);
    EXPECT_TRUE(schema->forms().empty());
}

TEST_F(AccessFiles, TablesIndexesAndForeignKeysOfThreeFormats) {
    for (const char* name : {"testV1997.mdb", "testV2003.mdb"}) {
        SCOPED_TRACE(name);
        auto schema = readFile(name);
        ASSERT_TRUE(schema);
        const Table& table = *schema->findTable(u"Table1");
        EXPECT_EQ(table.fields().size(), 9u);
        EXPECT_EQ(table.findKeyExact(u"PrimaryKey")->columnsText(), u"A");
        EXPECT_EQ(table.indexes().size(), 2u);
        EXPECT_EQ(schema->findTable(u"Table2")->fields().size(), 89u);
    }
    auto schema = readFile("indexTestV2010.accdb");
    ASSERT_TRUE(schema);
    const Table& table = *schema->findTable(u"Table1");
    EXPECT_EQ(table.findKeyExact(u"Table2Table1")->columnsText(), u"otherfk1->Table2.id");
    EXPECT_EQ(table.findKeyExact(u"Table3Table1")->columnsText(), u"otherfk2->Table3.id");
    EXPECT_EQ(table.findKeyExact(u"Table3Table1")->relatedTable(), schema->findTable(u"Table3"));
}

TEST_F(AccessFiles, LinkedTablesOfAccessAndOdbc) {
    auto access = readFile("linkerTestV2007.accdb");
    ASSERT_TRUE(access);
    ASSERT_EQ(access->linkedTables().size(), 1u);
    EXPECT_EQ(access->linkedTables()[0]->name(), u"Table2");
    EXPECT_EQ(access->linkedTables()[0]->remoteTable(), u"Table1");
    EXPECT_TRUE(access->linkedTables()[0]->source().ends_with(u"linkeeTest.accdb"));
    auto odbc = readFile("odbcLinkerTestV2007.accdb");
    ASSERT_TRUE(odbc);
    ASSERT_EQ(odbc->linkedTables().size(), 1u);
    EXPECT_TRUE(odbc->linkedTables()[0]->source().starts_with(u"ODBC;DSN="));
    EXPECT_TRUE(odbc->tables().empty());
}

TEST_F(AccessFiles, NorthwindRelationshipsWithTheirRulesAndTheFieldProperties) {
    auto schema = readFile("nwind.mdb");
    ASSERT_TRUE(schema);
    const Table& details = *schema->findTable(u"Order Details");
    const Key& orders = *details.findKeyExact(u"OrdersOrder Details");
    EXPECT_EQ(orders.type(), Key::Foreign);
    EXPECT_EQ(orders.deleteRule(), 1);
    EXPECT_EQ(orders.updateRule(), 0);
    EXPECT_FALSE(orders.isNotEnforced());
    EXPECT_FALSE(orders.isOneToOne());
    const Key& customers = *schema->findTable(u"Orders")->findKeyExact(u"CustomersOrders");
    EXPECT_EQ(customers.deleteRule(), 0);
    EXPECT_EQ(customers.updateRule(), 1);
    const Key& products = *details.findKeyExact(u"ProductsOrder Details");
    EXPECT_EQ(products.deleteRule(), 0);
    EXPECT_EQ(products.updateRule(), 0);
    EXPECT_EQ(products.columnsText(), u"ProductID->Products.ProductID");
    int foreignKeys = 0;
    for (const auto& table : schema->tables())
        for (const auto& key : table->keys())
            foreignKeys += key->type() == Key::Foreign;
    EXPECT_EQ(foreignKeys, 7);

    // Validation rules are check constraints named after their column.
    std::vector<std::u16string> checks;
    for (const auto& check : details.checkConstraints())
        checks.push_back(check->name() + u"=" + check->clause());
    std::sort(checks.begin(), checks.end());
    EXPECT_EQ(checks, (std::vector<std::u16string>{u"[Discount].ValidationRule=Between 0 And 1",
                                                   u"[Quantity].ValidationRule=>0",
                                                   u"[UnitPrice].ValidationRule=>=0"}));
    const Field& discount = field(details, u"Discount");
    EXPECT_EQ(discount.format(), u"Percent");
    EXPECT_TRUE(discount.decimalPlacesKnown());
    EXPECT_EQ(discount.decimalPlaces(), 0);
    EXPECT_FALSE(field(details, u"UnitPrice").decimalPlacesKnown()); // stored as "Auto"
    EXPECT_EQ(field(details, u"Quantity").defaultText(), u"1");
    EXPECT_FALSE(field(details, u"OrderID").defaultText());
    EXPECT_FALSE(field(details, u"ProductID").isNullable());
    EXPECT_EQ(field(*schema->findTable(u"Products"), u"Discontinued").defaultText(), u"=No");
    EXPECT_TRUE(field(*schema->findTable(u"Orders"), u"OrderID").isAutoincrement());
    // Jet 3 keeps text in a code page: nothing is compressed.
    EXPECT_FALSE(field(*schema->findTable(u"Customers"), u"CompanyName").isCompressed());
}

TEST_F(AccessFiles, CalculatedFieldsWithExpressionsFormatsAndDecimalPlaces) {
    auto schema = readFile("calcFieldTestV2010.accdb");
    ASSERT_TRUE(schema);
    const Table& table = *schema->findTable(u"Table1");
    const Field& lastFirst = field(table, u"LastFirst");
    EXPECT_EQ(lastFirst.type(), 202);
    EXPECT_EQ(lastFirst.length(), 255);
    EXPECT_EQ(lastFirst.expression(), u"[LastName] & \", \" & [FirstName]");
    EXPECT_EQ(lastFirst.format(), u"");
    EXPECT_FALSE(lastFirst.isCompressed());
    EXPECT_TRUE(field(table, u"FirstName").isCompressed());
    EXPECT_TRUE(field(table, u"FirstName").allowsZeroLength());

    const Field& monthly = field(table, u"MonthlySalary");
    EXPECT_EQ(monthly.type(), 6);
    EXPECT_EQ(monthly.expression(), u"[Salary]/12");
    EXPECT_EQ(monthly.format(), u"$#,##0.00;($#,##0.00)");
    // "Auto" (255) leaves the decimal places unknown.
    EXPECT_FALSE(monthly.decimalPlacesKnown());

    // A calculated decimal has no precision of its own and reads as 18.
    const Field& weekly = field(table, u"WeeklySalary");
    EXPECT_EQ(weekly.type(), 131);
    EXPECT_EQ(weekly.precision(), 18);
    EXPECT_EQ(weekly.numericScale(), 0);
    EXPECT_EQ(weekly.format(), u"General Number");
    const Field& popularity = field(table, u"Popularity");
    EXPECT_EQ(popularity.precision(), 18);
    EXPECT_EQ(popularity.numericScale(), 6);
    EXPECT_FALSE(popularity.hasExpression());
    EXPECT_EQ(popularity.defaultText(), u"0");

    EXPECT_EQ(field(table, u"IsRich").type(), 11);
    EXPECT_EQ(field(table, u"IsRich").expression(), u"[Salary]>100000");
    EXPECT_EQ(field(table, u"BoolTest").format(), u"True/False");
    EXPECT_EQ(field(table, u"AllNames").type(), 203);
    EXPECT_EQ(field(table, u"LastFirstLen").type(), 3);
    EXPECT_EQ(field(table, u"FloatTest").type(), 4);
    EXPECT_EQ(field(table, u"BigNumTest").expression(),
              u"([Salary]*[MonthlySalary]/[DecimalTest])*34.12342134");
    EXPECT_EQ(table.findKeyExact(u"PrimaryKey")->columnsText(), u"ID");
}

TEST_F(AccessFiles, AttachmentAndMultiValueColumns) {
    auto schema = readFile("complexDataTestV2010.accdb");
    ASSERT_TRUE(schema);
    const Table& table = *schema->findTable(u"Table1");
    std::vector<std::u16string> names;
    for (const auto& f : table.fields())
        names.push_back(f->name());
    // The version history of the append-only memo is no field.
    EXPECT_EQ(names, (std::vector<std::u16string>{u"id", u"memo-data", u"append-memo-data",
                                                  u"multi-value-data", u"attach-data"}));
    EXPECT_EQ(field(table, u"attach-data").type(), 101);
    // The multi-valued column reads as a memo, its values joined in one text.
    const Field& multiValue = field(table, u"multi-value-data");
    EXPECT_EQ(multiValue.type(), 203);
    EXPECT_EQ(multiValue.length(), 0);
    // Access's own indexes of the complex columns are no indexes or keys of the table, so no
    // script gives a replica a unique, required rule the original never had.
    for (const auto& index : table.indexes())
        for (const Field* column : index->columns())
            EXPECT_TRUE(column->name() != u"attach-data" && column->name() != u"multi-value-data")
                << utf8(index->name());
    EXPECT_EQ(findIndex(table, u"multi-value-data_F4C67B0F60124C1989D5583C00CF76E2"), nullptr);
    for (const auto& key : table.keys())
        EXPECT_FALSE(key->hasColumn(u"multi-value-data")) << utf8(key->name());
    EXPECT_TRUE(field(table, u"memo-data").isCompressed());
    EXPECT_TRUE(field(table, u"memo-data").allowsZeroLength());
}

TEST_F(AccessFiles, LinkedTablesKeepTheirSourceRemoteNameAndConnectText) {
    auto access = readFile("linkerTestV2007.accdb");
    ASSERT_TRUE(access);
    ASSERT_EQ(access->linkedTables().size(), 1u);
    EXPECT_EQ(access->linkedTables()[0]->source(), u"Z:\\jackcess_test\\linkeeTest.accdb");
    EXPECT_EQ(tableNames(*access), std::vector<std::u16string>{u"Table1"});

    options.compareHiddenTables = true;
    auto odbc = readFile("odbcLinkerTestV2007.accdb");
    ASSERT_TRUE(odbc);
    ASSERT_EQ(odbc->linkedTables().size(), 1u);
    const TableLinkedAccess& link = *odbc->linkedTables()[0];
    EXPECT_EQ(link.name(), u"Ordrar");
    EXPECT_EQ(link.remoteTable(), u"dbo.Ordrar");
    EXPECT_EQ(link.source(), u"ODBC;DSN=Magnapinna;Description=Safexit;UID=safexit;"
                             u"PWD=DummyPassword;APP=Microsoft Office;DATABASE=safexit");
    EXPECT_NE(dynamic_cast<const TableLinkedODBC*>(&link), nullptr);
    // The hidden local table comes in with the hidden-tables switch on.
    EXPECT_EQ(tableNames(*odbc), std::vector<std::u16string>{u"Lokal"});
}

TEST_F(AccessFiles, SavedQueriesAsViewsAndProceduresWithTheirText) {
    for (const char* name : {"queryTestV2003.mdb", "queryTestV2010.accdb"}) {
        SCOPED_TRACE(name);
        auto schema = readFile(name);
        ASSERT_TRUE(schema);
        EXPECT_EQ(queryNames(*schema, ElementKind::View),
                  (std::vector<std::u16string>{u"CrosstabQuery", u"SelectQuery", u"UnionQuery"}));
        EXPECT_EQ(
            queryNames(*schema, ElementKind::Procedure),
            (std::vector<std::u16string>{u"AppendQuery", u"DataDefinitionQuery", u"DeleteQuery",
                                         u"MakeTableQuery", u"PassthroughQuery", u"UpdateQuery"}));
        EXPECT_EQ(findQuery(*schema, u"SelectQuery")->text(),
                  u"SELECT DISTINCT Table1.*, Table2.col1, Table2.col2, Table3.col3\r\n"
                  u"FROM (Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1) INNER JOIN "
                  u"Table2 ON (Table3.col1 = Table2.col1) AND (Table3.col1 = Table2.col2)\r\n"
                  u"WHERE (((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\")))\r\n"
                  u"ORDER BY Table2.col1;");
        EXPECT_EQ(findQuery(*schema, u"DataDefinitionQuery")->text(),
                  u"CREATE TABLE Table5 (col1 CHAR, col2 CHAR);");
        const auto& update = static_cast<const Procedure&>(*findQuery(*schema, u"UpdateQuery"));
        EXPECT_TRUE(update.text().starts_with(u"PARAMETERS [User Name] Text ( 255 );\r\nUPDATE "));
        ASSERT_EQ(update.parameters().size(), 1u);
        EXPECT_EQ(update.parameters()[0].name, u"User Name");
        EXPECT_EQ(update.parameters()[0].type, 202);
        EXPECT_EQ(update.parameters()[0].size, 255);
        EXPECT_TRUE(findQuery(*schema, u"CrosstabQuery")->text().starts_with(u"TRANSFORM "));
    }
}

TEST_F(AccessFiles, UniqueAndIgnoreNullsIndexes) {
    for (const char* name : {"testIndexPropertiesV2003.mdb", "testIndexPropertiesV2010.accdb"}) {
        SCOPED_TRACE(name);
        auto schema = readFile(name);
        ASSERT_TRUE(schema);
        const Table& ignoring = *schema->findTable(u"TableIgnoreNulls2");
        const Index& data = *findIndex(ignoring, u"DataIndex");
        EXPECT_FALSE(data.isUnique());
        EXPECT_EQ(data.nulls(), 2);
        EXPECT_EQ(data.columnsText(), u"data1, data2");
        EXPECT_EQ(ignoring.findKeyExact(u"DataIndex"), nullptr);
        const Index& primary = *findIndex(ignoring, u"PrimaryKey");
        EXPECT_TRUE(primary.isPrimaryKey());
        EXPECT_EQ(primary.nulls(), 1);

        const Table& unique = *schema->findTable(u"TableUnique2_temp");
        EXPECT_TRUE(findIndex(unique, u"DataIndex")->isUnique());
        EXPECT_EQ(findIndex(unique, u"DataIndex")->nulls(), 0);
        const Key* key = unique.findKeyExact(u"DataIndex");
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->type(), Key::Unique);
        EXPECT_EQ(key->columnsText(), u"data1, data2");
        EXPECT_EQ(tableNames(*schema).size(), 6u);
    }
}

TEST_F(AccessFiles, DescendingIndexColumnsKeepTheirOrder) {
    auto schema = readFile("compIndexTestV2003.mdb");
    ASSERT_TRUE(schema);
    const Table& table = *schema->findTable(u"Table1");
    const Index* agent = findIndex(table, u"CD_AGENTE");
    ASSERT_NE(agent, nullptr);
    ASSERT_EQ(agent->columns().size(), 1u);
    EXPECT_TRUE(agent->isDescending(0));
    EXPECT_EQ(agent->columnsText(), u"CD_AGENTE DESC");
    // Ascending columns read as before.
    auto nwind = readFile("nwind.mdb");
    ASSERT_TRUE(nwind);
    EXPECT_EQ(nwind->findTable(u"Order Details")->findKeyExact(u"PrimaryKey")->columnsText(),
              u"OrderID, ProductID");
}

// A copy of a shared file whose column G was made Date/Time Extended and whose column F got a
// type code no engine knows.
TEST_F(AccessFiles, DateTimeExtendedAndUnknownColumnTypes) {
    TempFolder folder;
    std::filesystem::path copy = folder / "newer.accdb";
    std::filesystem::copy_file(accessFile("testV2010.accdb"), copy);
    ASSERT_EQ(mdbtest::patchColumnTypes(copy, {"A", "B", "C", "D", "E", "F", "G", "H", "I"},
                                        {{"G", 0x14}, {"F", 0x7E}}),
              2);
    description.path = u16(copy);
    reader::SchemaReader reader(description, options);
    auto schema = reader.read(progress);
    ASSERT_TRUE(schema) << utf8(reader.errorText());
    EXPECT_EQ(reader.warningsText(), u"Unknown data type of field F in table Table1\r\n");
    const Table& table = *schema->findTable(u"Table1");
    EXPECT_EQ(field(table, u"G").type(), 135);
    EXPECT_EQ(field(table, u"F").type(), engine::type::unknown);
    AccessDataTypeName names;
    EXPECT_EQ(names.findType(field(table, u"G").type()).sqlName, u"DATETIME2");
    EXPECT_EQ(names.findType(field(table, u"F").type()).sqlName, u"UNKNOWN");
}

TEST_F(AccessFiles, EverySharedFileReadsWithoutCrash) {
    for (const auto& entry : std::filesystem::directory_iterator(KEL_ACCESS_DATA_DIR)) {
        SCOPED_TRACE(entry.path().string());
        readFile(entry.path().filename().string());
    }
}

} // namespace readertest

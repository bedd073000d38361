#include "ReaderFixture.h"

#include <fstream>
#include <iterator>

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

TEST_F(AccessFiles, EverySharedFileReadsWithoutCrash) {
    for (const auto& entry : std::filesystem::directory_iterator(KEL_ACCESS_DATA_DIR)) {
        SCOPED_TRACE(entry.path().string());
        readFile(entry.path().filename().string());
    }
}

} // namespace readertest

#include "tests/compare/ResultText.h"
#include "tests/compare/SchemaFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace fixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const AccessDataTypeName dialect;

struct Schemas {
    std::unique_ptr<Database> first = database(u"/data/first.mdb");
    std::unique_ptr<Database> second = database(u"/data/second.mdb");

    SchemaComparison compare(ComparisonOptions options = {}) {
        return SchemaComparison(std::move(first), std::move(second), options, dialect);
    }
};

// A table with every kind of child: 3 fields, an index, a primary and a foreign key, a
// check constraint and a data macro.
Table& fullTable(Database& database, std::u16string name) {
    Table& orders = table(database, std::move(name));
    textField(orders, u"Id");
    textField(orders, u"Customer");
    textField(orders, u"Note");
    index(orders, u"ByCustomer", {u"Customer"});
    key(orders, {.name = u"PK", .columns = {{u"Id", nullptr}}});
    key(orders, {.name = u"FK",
                 .type = Key::Foreign,
                 .relatedTable = u"Customers",
                 .columns = {{u"Customer", u"Id"}}});
    check(orders, u"NoteSet", u"Note Is Not Null");
    dataMacro(orders, "<DataMacros/>");
    return orders;
}

TEST(SchemaComparison, EmptyDatabasesAreIdentical) {
    Schemas schemas;
    SchemaComparison comparison = schemas.compare();
    EXPECT_TRUE(comparison.identical());
    EXPECT_THAT(comparison.results(), IsEmpty());
    EXPECT_EQ(comparison.identicalText(), u"The structure of the database /data/first.mdb and "
                                          u"/data/second.mdb are identical.");
    EXPECT_EQ(comparison.firstSchema().name(), u"/data/first.mdb");
    EXPECT_EQ(comparison.secondSchema().name(), u"/data/second.mdb");
}

TEST(SchemaComparison, TableNamesMatchIgnoringTheCaseOfAsciiLettersOnly) {
    Schemas schemas;
    textField(table(*schemas.first, u"Orders"), u"Id");
    textField(table(*schemas.second, u"ORDERS"), u"Id");
    table(*schemas.first, u"Ärger");
    table(*schemas.second, u"äRGER");
    EXPECT_THAT(describe(schemas.compare()),
                ElementsAre("deleted Table Ärger", "added Table äRGER"));
}

TEST(SchemaComparison, TableOnlyInOneDatabaseIsListedWithAllItsParts) {
    Schemas schemas;
    fullTable(*schemas.first, u"Old");
    fullTable(*schemas.second, u"New");
    const std::vector<std::string> parts = {"Table",      "Field Id",         "Field Customer",
                                            "Field Note", "Index ByCustomer", "Key PK",
                                            "Key FK",     "Check NoteSet",    "DataMacro"};
    std::vector<std::string> expected;
    for (const char* state : {"deleted", "added"}) {
        const char* name = state[0] == 'd' ? "Old" : "New";
        for (const std::string& part : parts) {
            std::string line = std::string(state) + " " + part;
            if (part == "Table" || part == "DataMacro")
                line += std::string(" ") + name;
            expected.push_back(line);
        }
    }
    EXPECT_EQ(describe(schemas.compare()), expected);
}

TEST(SchemaComparison, DeletedTableWithoutChecksOrMacroHasOneEntryPerPart) {
    Schemas schemas;
    Table& t = table(*schemas.first, u"T");
    textField(t, u"A");
    textField(t, u"B");
    textField(t, u"C");
    index(t, u"I", {u"A"});
    key(t, {.name = u"PK", .columns = {{u"A", nullptr}}});
    key(t, {.name = u"UK", .type = Key::Unique, .columns = {{u"B", nullptr}}});
    dataMacro(t, "x");
    EXPECT_THAT(describe(schemas.compare()),
                ElementsAre("deleted Table T", "deleted Field A", "deleted Field B",
                            "deleted Field C", "deleted Index I", "deleted Key PK",
                            "deleted Key UK", "deleted DataMacro T"));
}

TEST(SchemaComparison, FirstOfTwoCaseVariantsInTheSecondDatabaseIsMatched) {
    Schemas schemas;
    textField(table(*schemas.first, u"orders"), u"Id");
    textField(table(*schemas.second, u"Orders"), u"Id");
    textField(table(*schemas.second, u"ORDERS"), u"Other");
    SchemaComparison comparison = schemas.compare();
    EXPECT_THAT(describe(comparison), ElementsAre("added Table ORDERS", "added Field Other"));
}

TEST(SchemaComparison, TablesOfTheFirstDatabaseComeInItsOrderThenAddedTables) {
    Schemas schemas;
    table(*schemas.second, u"Added1");
    textField(table(*schemas.second, u"B"), u"New");
    table(*schemas.second, u"Added2");
    table(*schemas.first, u"Gone");
    table(*schemas.first, u"B");
    EXPECT_THAT(describe(schemas.compare()),
                ElementsAre("deleted Table Gone", "changed Table B", "added Field New",
                            "added Table Added1", "added Table Added2"));
}

TEST(SchemaComparison, LinkedTablesAreNeverCompared) {
    Schemas schemas;
    schemas.first->addLinkedTable(
        std::make_unique<TableLinkedAccess>(u"Link", u"Remote", u"/data/a.mdb"));
    schemas.second->addLinkedTable(
        std::make_unique<TableLinkedAccess>(u"Link", u"Other", u"/data/b.mdb"));
    schemas.second->addLinkedTable(
        std::make_unique<TableLinkedODBC>(u"Odbc", u"dbo.T", u"ODBC;DSN=x"));
    EXPECT_TRUE(schemas.compare().identical());
}

TEST(SchemaComparison, QueryNamesAreCaseSensitiveAndOnlyTheirTextCounts) {
    Schemas schemas;
    schemas.first->addView(std::make_unique<View>(u"q", u"SELECT 1"));
    schemas.second->addView(std::make_unique<View>(u"Q", u"SELECT 1"));
    // A view pairs with a procedure of its name; parameters do not count.
    schemas.first->addView(std::make_unique<View>(u"Same", u"SELECT a FROM t"));
    auto procedure = std::make_unique<Procedure>(u"Same", u"SELECT a FROM t");
    procedure->addParameter({.name = u"p", .type = 3});
    schemas.second->addProcedure(std::move(procedure));
    schemas.first->addProcedure(std::make_unique<Procedure>(u"Upd", u"UPDATE t SET a=1"));
    schemas.second->addProcedure(std::make_unique<Procedure>(u"Upd", u"update t SET a=1"));
    SchemaComparison comparison = schemas.compare();
    EXPECT_THAT(describe(comparison),
                ElementsAre("deleted View q", "changed Procedure Upd", "added View Q"));
}

TEST(SchemaComparison, DocumentsMatchByExactNameAndCompareTheirBytes) {
    Schemas schemas;
    schemas.first->addForm(std::make_unique<Entity::Form>(u"main", bytes("form")));
    schemas.second->addForm(std::make_unique<Entity::Form>(u"Main", bytes("form")));
    schemas.first->addModule(std::make_unique<Entity::Module>(u"Util", bytes("Sub A")));
    schemas.second->addModule(std::make_unique<Entity::Module>(u"Util", bytes("Sub A ")));
    schemas.first->addMacro(std::make_unique<Entity::Macro>(u"Same", bytes("m")));
    schemas.second->addMacro(std::make_unique<Entity::Macro>(u"Same", bytes("m")));
    schemas.first->addReport(std::make_unique<Entity::Report>(u"Empty", bytes("")));
    schemas.second->addReport(
        std::make_unique<Entity::Report>(u"Empty", bytes(std::string_view("\0", 1))));
    EXPECT_THAT(describe(schemas.compare()),
                ElementsAre("deleted Form main", "added Form Main", "changed Module Util",
                            "changed Report Empty"));
}

TEST(SchemaComparison, KindsComeInTheirFixedOrder) {
    Schemas schemas;
    Database& second = *schemas.second;
    // Added in an order unlike the result's.
    second.addReport(std::make_unique<Entity::Report>(u"R", bytes("r")));
    second.addMacro(std::make_unique<Entity::Macro>(u"M", bytes("m")));
    second.addModule(std::make_unique<Entity::Module>(u"Mod", bytes("m")));
    second.addForm(std::make_unique<Entity::Form>(u"F", bytes("f")));
    second.addProcedure(std::make_unique<Procedure>(u"P", u"DELETE FROM t"));
    table(second, u"T");
    schemas.first->addView(std::make_unique<View>(u"V", u"SELECT 1"));
    EXPECT_THAT(describe(schemas.compare()),
                ElementsAre("added Table T", "deleted View V", "added Procedure P", "added Form F",
                            "added Module Mod", "added Macro M", "added Report R"));
}

TEST(SchemaComparison, ChangedEntriesReferToBothSchemasElements) {
    Schemas schemas;
    Field& before = textField(table(*schemas.first, u"T"), u"F", 10);
    Field& after = textField(table(*schemas.second, u"T"), u"F", 20);
    const Table& firstTable = *schemas.first->tables()[0];
    const Table& secondTable = *schemas.second->tables()[0];
    SchemaComparison comparison = schemas.compare();
    ASSERT_EQ(comparison.results().size(), 2u);
    EXPECT_EQ(comparison.results()[0].first, &firstTable);
    EXPECT_EQ(comparison.results()[0].second, &secondTable);
    EXPECT_EQ(comparison.results()[1].first, &before);
    EXPECT_EQ(comparison.results()[1].second, &after);
    EXPECT_EQ(comparison.results()[1].state, ElementState::Changed);
    EXPECT_FALSE(comparison.identical());
}

} // namespace

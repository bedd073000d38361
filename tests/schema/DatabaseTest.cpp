#include "schema/Database.h"

#include <gtest/gtest.h>

TEST(Database, EmptyDatabaseKeepsItsPath) {
    Database database(u"/data/first.mdb");
    EXPECT_EQ(database.name(), u"/data/first.mdb");
    EXPECT_TRUE(database.tables().empty());
    EXPECT_TRUE(database.linkedTables().empty());
    EXPECT_TRUE(database.viewsAndProcedures().empty());
    EXPECT_TRUE(database.forms().empty());
    EXPECT_TRUE(database.macros().empty());
    EXPECT_TRUE(database.modules().empty());
    EXPECT_TRUE(database.reports().empty());
    EXPECT_EQ(database.findTable(u""), nullptr);
}

TEST(Database, LaterTableTakesOverLookupOfANameDifferingInCase) {
    Database database(u"db");
    Table& first = database.addTable(std::make_unique<Table>(u"Orders"));
    EXPECT_EQ(database.findTable(u"ORDERS"), &first);
    Table& second = database.addTable(std::make_unique<Table>(u"ORDERS"));
    ASSERT_EQ(database.tables().size(), 2u);
    EXPECT_EQ(database.tables()[0].get(), &first);
    for (const char16_t* name : {u"Orders", u"ORDERS", u"orders"})
        EXPECT_EQ(database.findTable(name), &second);
    EXPECT_EQ(database.findTable(std::u16string(u"oRdErS")), &second);
    EXPECT_EQ(database.findTable(u"Order"), nullptr);
}

TEST(Database, OnlyAsciiLettersAreFoldedInTableLookup) {
    Database database(u"db");
    Table& table = database.addTable(std::make_unique<Table>(u"\u00c9tats"));
    EXPECT_EQ(database.findTable(u"\u00c9TATS"), &table);
    EXPECT_EQ(database.findTable(u"\u00e9tats"), nullptr);
}

TEST(Database, ViewsAndProceduresShareOneListInAddingOrder) {
    Database database(u"db");
    database.addView(std::make_unique<View>(u"v1", u"SELECT 1"));
    database.addView(std::make_unique<View>(u"v2", u"SELECT 2"));
    auto procedure = std::make_unique<Procedure>(u"p", u"PARAMETERS x Long; SELECT x");
    procedure->addParameter({u"x", 3, 4, 0, 10});
    database.addProcedure(std::move(procedure));
    database.addProcedure(std::make_unique<Procedure>(u"q", u"DELETE FROM t"));

    const auto& list = database.viewsAndProcedures();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]->kind(), ElementKind::View);
    EXPECT_EQ(list[1]->name(), u"v2");
    ASSERT_EQ(list[2]->kind(), ElementKind::Procedure);
    const auto& parameters = static_cast<const Procedure&>(*list[2]).parameters();
    ASSERT_EQ(parameters.size(), 1u);
    EXPECT_EQ(parameters[0].name, u"x");
    EXPECT_EQ(parameters[0].type, 3);
    EXPECT_EQ(parameters[0].precision, 10);
    EXPECT_TRUE(static_cast<const Procedure&>(*list[3]).parameters().empty());
    EXPECT_EQ(list[3]->text(), u"DELETE FROM t");
}

TEST(Database, HoldsLinkedTablesAndDocuments) {
    Database database(u"db");
    database.addLinkedTable(std::make_unique<TableLinkedAccess>(u"local", u"remote", u"C:\\b.mdb"));
    database.addLinkedTable(std::make_unique<TableLinkedODBC>(u"odbc", u"dbo.t", u"ODBC;DSN=x"));
    database.addForm(std::make_unique<Entity::Form>(u"f", Entity::Form::Bytes{'a', 'b'}));
    database.addModule(std::make_unique<Entity::Module>(u"m", Entity::Module::Bytes{}));
    database.addMacro(std::make_unique<Entity::Macro>(u"autoexec", Entity::Macro::Bytes{0}));
    database.addReport(std::make_unique<Entity::Report>(u"r", Entity::Report::Bytes{1, 2, 3}));

    ASSERT_EQ(database.linkedTables().size(), 2u);
    EXPECT_EQ(database.linkedTables()[0]->remoteTable(), u"remote");
    EXPECT_EQ(database.linkedTables()[0]->source(), u"C:\\b.mdb");
    EXPECT_EQ(database.linkedTables()[1]->source(), u"ODBC;DSN=x");
    EXPECT_EQ(database.findTable(u"local"), nullptr);

    EXPECT_EQ(database.forms()[0]->contentSize(), 2);
    EXPECT_EQ(database.modules()[0]->contentSize(), 0);
    EXPECT_TRUE(database.modules()[0]->content().empty());
    EXPECT_EQ(database.macros()[0]->name(), u"autoexec");
    EXPECT_EQ(database.reports()[0]->content(), (Entity::Report::Bytes{1, 2, 3}));
}

TEST(Database, KeysReferToTablesOfTheSameDatabase) {
    // Related tables are resolved after reading and may be missing; destroying the database
    // in any state must not touch them.
    Database database(u"db");
    Table& parent = database.addTable(std::make_unique<Table>(u"parent"));
    Table& child = database.addTable(std::make_unique<Table>(u"child"));
    child.addField(std::make_unique<Field>(child, Field::Properties{.name = u"pid", .type = 3}));
    Key& key = child.addKey(std::make_unique<Key>(child, u"rel", u"PARENT", Key::Foreign,
                                                  Key::RuleCascade, Key::RuleNone, false, false));
    key.addColumn(u"pid", u"id");
    key.setRelatedTable(database.findTable(key.relatedTableName()));
    EXPECT_EQ(key.relatedTable(), &parent);
    EXPECT_EQ(&key.table(), &child);
    EXPECT_EQ(key.fields().front(), child.findField(u"PID"));
}

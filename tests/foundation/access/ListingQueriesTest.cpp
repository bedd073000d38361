// The queries with which the comparer lists Access objects, run through CurrentDb on a real
// embedded database that holds objects of every kind.

#include "EmbeddedAccessFixture.h"

namespace accesstest {

namespace {

using Names = std::vector<std::u16string>;

} // namespace

class ListingQueries : public EmbeddedAccess {
protected:
    void SetUp() override {
        EmbeddedAccess::SetUp();
        if (!dataStatementsAvailable())
            GTEST_SKIP() << "waits for the embedded engine's SELECT";
        access.start(description);
        for (const char16_t* table : {u"Customers", u"Hidden", u"Plain"})
            execute(u"CREATE TABLE [" + std::u16string(table) + u"] ([Id] LONG)");
        execute(u"CREATE VIEW [Forms] AS SELECT * FROM [Plain]");
        access.importText(type::objectTableDataMacro, u"Customers", bytesOf("<c/>"));
        access.importText(type::objectTableDataMacro, u"Hidden", bytesOf("<h/>"));
        access.importText(type::objectTableDataMacro, u"Orders", bytesOf("<o/>"));
        access.importText(type::objectTableDataMacro, u"Orders", Bytes{0});
        access.importText(type::objectForm, u"Entry", bytesOf("f"));
        access.importText(type::objectForm, u"Browse", bytesOf("f"));
        access.importText(type::objectReport, u"Entry", bytesOf("r"));
        access.importText(type::objectMacro, u"AutoExec", bytesOf("m"));
        access.importText(type::objectModule, u"Helpers", bytesOf("b"));
        access.importText(type::objectModule, u"Gone", bytesOf("b"));
        access.deleteObject(type::objectModule, u"Gone");
    }

    // The names a query lists, in the order it gives them.
    Names listing(const std::u16string& query) {
        auto database = access.application()->currentDb();
        auto rows = database->openRecordset(query);
        Names names;
        for (; !rows->eof(); rows->moveNext())
            names.push_back(rows->fields()->item(u"Name")->value().toText().value_or(u"(null)"));
        rows->close();
        database->close();
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ListingQueries, EachKindListsExactlyItsObjects) {
    EXPECT_EQ(listing(u"SELECT [Name] FROM MSysObjects WHERE Not IsNull(LvExtra) and Type=1"),
              (Names{u"Customers", u"Hidden"}));
    EXPECT_EQ(listing(u"SELECT Name FROM MSysObjects WHERE Type=-32768"),
              (Names{u"Browse", u"Entry"}));
    EXPECT_EQ(listing(u"SELECT Name FROM MSysObjects WHERE Type=-32761"), (Names{u"Helpers"}));
    EXPECT_EQ(listing(u"SELECT Name FROM MSysObjects WHERE Type=-32766"), (Names{u"AutoExec"}));
    EXPECT_EQ(listing(u"SELECT Name FROM MSysObjects WHERE Type=-32764"), (Names{u"Entry"}));
}

TEST_F(ListingQueries, TheSystemTableCannotBeChangedThroughSql) {
    auto database = access.application()->currentDb();
    for (const char16_t* sql : {u"INSERT INTO MSysObjects (Name, Type) VALUES ('X', -32768)",
                                u"UPDATE MSysObjects SET Type = 1 WHERE Name = 'Entry'",
                                u"DELETE FROM MSysObjects WHERE Type = -32768"}) {
        SCOPED_TRACE(text::toUtf8(sql));
        EXPECT_EQ(failureOf([&] { execute(sql); }),
                  u"Cannot update. Database or object is read-only.");
    }
    EXPECT_EQ(listing(u"SELECT Name FROM MSysObjects WHERE Type=-32768"),
              (Names{u"Browse", u"Entry"}));
}

} // namespace accesstest

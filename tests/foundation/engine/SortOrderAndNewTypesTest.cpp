#include "EngineFixture.h"

namespace enginetest {

class SortOrderAndNewTypes : public EmbeddedDatabase {
protected:
    std::shared_ptr<dao::Database> dao() {
        return components().createDBEngine(daoClassId)->openDatabase(u16(path), {}, false, u"");
    }
    std::vector<int> sortOrders(const std::shared_ptr<adox::Columns>& columns) {
        std::vector<int> orders;
        for (int i = 0; i < columns->count(); ++i)
            orders.push_back(columns->item(i)->sortOrder());
        return orders;
    }
};

TEST_F(SortOrderAndNewTypes, KeyAndIndexColumnsKeepTheirOrderThroughAdoxAndDao) {
    exec(u"CREATE TABLE [T] (\r\n\t[A] LONG,\r\n\t[B] TEXT(10),\r\n\t[C] LONG,\r\n"
         u"\tCONSTRAINT [PK] PRIMARY KEY ([A], [B] DESC),\r\n\tCONSTRAINT [UQ] UNIQUE ([C] DESC)"
         u"\r\n)");
    exec(u"CREATE INDEX [IX] ON [T] ([C] DESC, [A] ASC)");
    reopen();
    constexpr int asc = adox::sortAscending;
    constexpr int desc = adox::sortDescending;
    auto indexes = table(u"T")->indexes();
    EXPECT_EQ(sortOrders(indexes->item(u"PK")->columns()), (std::vector<int>{asc, desc}));
    EXPECT_EQ(sortOrders(indexes->item(u"UQ")->columns()), (std::vector<int>{desc}));
    EXPECT_EQ(sortOrders(indexes->item(u"IX")->columns()), (std::vector<int>{desc, asc}));
    EXPECT_EQ(sortOrders(table(u"T")->keys()->item(u"PK")->columns()),
              (std::vector<int>{asc, desc}));

    auto db = dao();
    auto fields = db->tableDefs()->item(u"T")->indexes()->item(u"PK")->fields();
    ASSERT_EQ(fields->count(), 2);
    EXPECT_EQ(fields->item(0)->attributes(), 0);
    EXPECT_EQ(fields->item(1)->attributes(), dao::fieldDescending);
    db->close();
}

TEST_F(SortOrderAndNewTypes, DateTimeExtendedReadsAsTheEngineReportsItAndHoldsItsText) {
    exec(u"CREATE TABLE [T] ([Id] LONG, [When] DATETIME2 NOT NULL)");
    exec(u"INSERT INTO [T] VALUES (1, '0001-01-01 00:00:00.0000001')");
    reopen();
    auto column = table(u"T")->columns()->item(u"When");
    EXPECT_EQ(column->type(), type::dateTimeExtended);
    EXPECT_EQ(column->definedSize(), type::dateTimeExtendedSize);
    EXPECT_EQ(column->attributes() & adox::columnNullable, 0);
    EXPECT_EQ(rows("SELECT \"When\" FROM \"T\""),
              std::vector<std::string>{"0001-01-01 00:00:00.0000001"});
    auto db = dao();
    EXPECT_EQ(db->tableDefs()->item(u"T")->fields()->item(u"When")->type(),
              daotype::dateTimeExtended);
    db->close();
}

// What the comparer writes for a column whose type it could not read fails plainly and
// leaves the database as it was.
TEST_F(SortOrderAndNewTypes, UnknownTypeFailsWithAClearMessage) {
    exec(u"CREATE TABLE [T] ([Id] LONG)");
    std::string before = bytesOf(path);
    EXPECT_EQ(failure(u"CREATE TABLE [U] (\r\n\t[Id] LONG,\r\n\t[Odd] UNKNOWN\r\n)"),
              u"The data type of field 'Odd' is unknown; the field cannot be created.");
    EXPECT_EQ(failure(u"ALTER TABLE [T]\r\n\tADD COLUMN [Odd] UNKNOWN NOT NULL"),
              u"The data type of field 'Odd' is unknown; the field cannot be created.");
    EXPECT_TRUE(bytesOf(path) == before) << "the file changed";
}

} // namespace enginetest

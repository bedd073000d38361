#include "EngineFixture.h"

namespace enginetest {

using CreateTable = EmbeddedDatabase;

TEST_F(CreateTable, ColumnsReadBackWithTheirTypesAndSizes) {
    exec(u"CREATE TABLE [T] ([Id] AUTOINCREMENT, [Name] TEXT(50) NOT NULL, [Note] MEMO, "
         u"[Price] CURRENCY, [Amount] DECIMAL(10, 2))");
    auto t = table(u"T");
    EXPECT_EQ(t->type(), u"TABLE");
    ASSERT_EQ(t->columns()->count(), 5);
    auto id = column(u"T", u"Id");
    EXPECT_EQ(id->type(), 3);
    EXPECT_EQ(property(id, u"Autoincrement"), Variant(true));
    auto name = column(u"T", u"Name");
    EXPECT_EQ(name->type(), 202);
    EXPECT_EQ(name->definedSize(), 50);
    EXPECT_EQ(name->attributes() & adox::columnNullable, 0);
    auto amount = column(u"T", u"Amount");
    EXPECT_EQ(amount->type(), 131);
    EXPECT_EQ(amount->precision(), 10);
    EXPECT_EQ(amount->numericScale(), 2);
    EXPECT_EQ(column(u"T", u"Note")->attributes() & adox::columnNullable, adox::columnNullable);
}

} // namespace enginetest

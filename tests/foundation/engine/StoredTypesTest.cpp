#include "DataFixture.h"

namespace enginetest {

// Values stored into typed columns, read back with their exact types.
class StoredTypes : public DataFixture {};

TEST_F(StoredTypes, TakeTheirValuesWholeOrRefuseThem) {
    exec(u"CREATE TABLE [S] ([G] GUID, [M] CURRENCY, [D] DECIMAL(5, 2), [B] BIT, [I] SMALLINT)");
    run(u"INSERT INTO [S] VALUES ('{12345678-9ABC-DEF0-1234-56789ABCDEF0}', 1.23456, 123.456, "
        u"'No', -32768.4)");
    EXPECT_EQ(select(u"SELECT * FROM [S]"),
              (std::vector<std::string>{"{12345678-9ABC-DEF0-1234-56789ABCDEF0}|1.2346|123.46|0|"
                                        "-32768"}));
    EXPECT_EQ(single(u"SELECT [D] FROM [S]").type(), VarType::Decimal);
    EXPECT_EQ(single(u"SELECT [G] FROM [S]").type(), VarType::Guid);
    EXPECT_EQ(single(u"SELECT [I] FROM [S]").type(), VarType::Int16);
    for (const char16_t* bad :
         {u"INSERT INTO [S] ([D]) VALUES (1000)", u"INSERT INTO [S] ([I]) VALUES (32768)",
          u"INSERT INTO [S] ([M]) VALUES (1e20)"})
        EXPECT_EQ(runFailure(bad), u"Numeric field overflow.") << text::toUtf8(bad);
    for (const char16_t* bad : {u"INSERT INTO [S] ([G]) VALUES ('not a guid')",
                                u"INSERT INTO [S] ([B]) VALUES ('maybe')"})
        EXPECT_EQ(runFailure(bad), u"Data type mismatch in criteria expression.")
            << text::toUtf8(bad);
    EXPECT_EQ(select(u"SELECT Count(*) FROM [S]"), (std::vector<std::string>{"1"}));
}

} // namespace enginetest

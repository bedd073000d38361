#include "DataFixture.h"

#include <cmath>
#include <cstring>

namespace enginetest {

// Data statements through ADO commands on a real embedded database.
class DataStatements : public DataFixture {};

std::uint64_t bitsOf(const Variant& value) {
    double v = *value.toDouble();
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return bits;
}

Variant doubleWithBits(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, 8);
    return Variant(v);
}

TEST_F(DataStatements, ParameterValuesRoundTripIntoEveryStoredType) {
    exec(u"CREATE TABLE [T] ([Id] LONG, [Name] TEXT(50), [Note] MEMO, [D] DOUBLE, [S] SINGLE, "
         u"[Raw] BINARY(16), [Blob] LONGBINARY, [Flag] YESNO, [Money] CURRENCY, [When] DATETIME)");
    const std::u16string insert = u"INSERT INTO [T] ([Id], [Name], [Note], [D], [Raw], [Blob]) "
                                  u"VALUES (?, ?, ?, ?, ?, ?)";
    const std::uint64_t patterns[] = {0x7FF8000000000001ull, 0xFFFFFFFFFFFFFFFFull,
                                      0x7FF0000000000000ull, 0xFFF0000000000000ull,
                                      0x8000000000000000ull};
    Variant::Bytes bytes{0, 1, 0xFF, 0x80, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(run(insert, {Variant(std::int32_t(i)), Variant(u"a\r\nb \"q\" 'x'"),
                               Variant(u"line 1\rline 2\nline 3\r\n"), doubleWithBits(patterns[i]),
                               Variant(bytes), Variant(bytes)}),
                  1);
    run(insert, {Variant(std::int32_t(9)), Variant::null(), Variant::null(), Variant::null(),
                 Variant::null(), Variant::null()});
    reopen();
    auto rs = open(u"SELECT * FROM [T] ORDER BY [Id]");
    for (int i = 0; i < 5; ++i, rs->moveNext()) {
        ASSERT_FALSE(rs->eof());
        auto fields = rs->fields();
        EXPECT_EQ(fields->item(u"Name")->value(), Variant(u"a\r\nb \"q\" 'x'"));
        EXPECT_EQ(fields->item(u"Note")->value(), Variant(u"line 1\rline 2\nline 3\r\n"));
        EXPECT_EQ(fields->item(u"D")->value().type(), VarType::Double);
        EXPECT_EQ(bitsOf(fields->item(u"D")->value()), patterns[i]) << i;
        EXPECT_EQ(fields->item(u"Raw")->value(), Variant(bytes));
        EXPECT_EQ(fields->item(u"Blob")->value(), Variant(bytes));
        EXPECT_EQ(fields->item(u"Id")->value(), Variant(std::int32_t(i)));
    }
    auto fields = rs->fields();
    for (const char16_t* name : {u"Name", u"Note", u"D", u"Raw", u"Blob"})
        EXPECT_TRUE(fields->item(name)->value().isNull()) << text::toUtf8(name);
    EXPECT_EQ(fields->item(u"Flag")->value(), Variant(false)); // Yes/No holds no null
    rs->moveNext();
    EXPECT_TRUE(rs->eof());

    // Values of other types convert into the column's type.
    run(u"UPDATE [T] SET [Flag] = ?, [Money] = ?, [When] = ?, [S] = ? WHERE [Id] = 9",
        {Variant(u"Yes"), Variant(1.23456), Variant(u"2024-02-29 13:05:09"), Variant(0.1)});
    auto row = open(u"SELECT [Flag], [Money], [When], [S] FROM [T] WHERE [Id] = 9")->fields();
    EXPECT_EQ(row->item(0)->value(), Variant(true));
    EXPECT_EQ(row->item(1)->value(), Variant(Currency{12346}));
    EXPECT_EQ(row->item(2)->value().toText(), u"02/29/2024 13:05:09");
    EXPECT_EQ(row->item(3)->value(), Variant(0.1f));
}

TEST_F(DataStatements, SpecialDoublesSurviveAColumnTypeChange) {
    exec(u"CREATE TABLE [N] ([Id] LONG, [S] SINGLE)");
    run(u"INSERT INTO [N] VALUES (1, ?)", {doubleWithBits(0x7FF8000000000001ull)});
    run(u"INSERT INTO [N] VALUES (2, ?)", {doubleWithBits(0x8000000000000000ull)});
    run(u"INSERT INTO [N] VALUES (3, ?)", {doubleWithBits(0xFFF0000000000000ull)});
    exec(u"ALTER TABLE [N] ALTER COLUMN [S] DOUBLE");
    auto rs = open(u"SELECT [S] FROM [N] ORDER BY [Id]");
    for (std::uint64_t bits :
         {0x7FF8000000000001ull, 0x8000000000000000ull, 0xFFF0000000000000ull}) {
        ASSERT_FALSE(rs->eof());
        EXPECT_EQ(rs->fields()->item(0)->value().type(), VarType::Double);
        EXPECT_EQ(bitsOf(rs->fields()->item(0)->value()), bits);
        rs->moveNext();
    }
}

TEST_F(DataStatements, RecordsetMovesClosesAndNamesItsFields) {
    exec(u"CREATE TABLE [P] ([Id] LONG, [Name] TEXT(20))");
    run(u"INSERT INTO [P] VALUES (1, 'one')");
    run(u"INSERT INTO P (Id, Name) VALUES (2, \"two\")");
    auto rs = open(u"SELECT [Id], [Name] AS [Label], [Id] * 2, Len([Name]) FROM [P] ORDER BY 1");
    EXPECT_EQ(rs->state(), ado::stateOpen);
    auto fields = rs->fields();
    ASSERT_EQ(fields->count(), 4);
    EXPECT_EQ(fields->item(0)->name(), u"Id");
    EXPECT_EQ(fields->item(1)->name(), u"Label");
    EXPECT_EQ(fields->item(2)->name(), u"Expr1000");
    EXPECT_EQ(fields->item(3)->name(), u"Expr1001");
    EXPECT_EQ(fields->item(u"label")->value(), Variant(u"one"));
    rs->moveNext();
    EXPECT_EQ(rs->fields()->item(u"Expr1000")->value(), Variant(std::int32_t(4)));
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_NE(failureOf([&] { rs->moveNext(); }), u"");
    EXPECT_EQ(failureOf([&] { rs->fields()->item(u"Nope"); }),
              u"Item cannot be found in the collection corresponding to the requested name or "
              u"ordinal.");
    rs->close();
    EXPECT_EQ(rs->state(), ado::stateClosed);
    EXPECT_NE(failureOf([&] { rs->eof(); }), u"");

    auto empty = open(u"SELECT * FROM [P] WHERE [Id] > 5");
    EXPECT_TRUE(empty->eof());
    EXPECT_EQ(empty->fields()->count(), 2);
    EXPECT_EQ(empty->fields()->item(1)->name(), u"Name");
}

TEST_F(DataStatements, AccessSqlTranslatesIntoTheSameResults) {
    exec(u"CREATE TABLE [Order Lines] ([Id] COUNTER CONSTRAINT [PK] PRIMARY KEY, "
         u"[Item] TEXT(20), [Qty] SHORT, [Price] DOUBLE, [When] DATETIME, [Done] YESNO)");
    run(u"INSERT INTO [Order Lines] ([Item], [Qty], [Price], [When], [Done]) "
        u"VALUES ('Apple', 3, 1.5, #1/31/2024#, True)");
    run(u"INSERT INTO [Order Lines] ([Item], [Qty], [Price], [When], [Done]) "
        u"VALUES (\"Banana\", 10, 0.25, #2024-02-01 10:30:00#, False)");
    run(u"INSERT INTO [Order Lines] ([Item], [Qty], [When]) VALUES ('cherry', 7, #2/1/2024#)");

    EXPECT_EQ(select(u"SELECT [Id], [Item] FROM [Order Lines] ORDER BY [Id]"),
              (std::vector<std::string>{"1|Apple", "2|Banana", "3|cherry"}));
    // Letter case is ignored in comparisons; & joins texts and takes Null as empty.
    EXPECT_EQ(select(u"SELECT [Item] & '/' & [Price] & '/' & [Done] FROM [Order Lines] "
                     u"WHERE [Item] = 'APPLE' OR [item] LIKE 'b*' ORDER BY [Qty]"),
              (std::vector<std::string>{"Apple/1.5/-1", "Banana/0.25/0"}));
    EXPECT_EQ(select(u"SELECT Count(*), Sum([Qty]), Max([Item]) FROM [Order Lines]"),
              (std::vector<std::string>{"3|20|cherry"}));
    EXPECT_EQ(select(u"SELECT [Item] FROM [Order Lines] WHERE [When] Between #1/31/2024# And "
                     u"#2/1/2024# AND [Done] = False ORDER BY [Item] DESC"),
              (std::vector<std::string>{"cherry"}));
    EXPECT_EQ(select(u"SELECT TOP 2 o.[Item] FROM [Order Lines] AS o "
                     u"WHERE o.[Qty] In (3, 7, 99) ORDER BY o.Item"),
              (std::vector<std::string>{"Apple", "cherry"}));
    EXPECT_EQ(select(u"SELECT IIf([Price] Is Null, 'none', 'priced'), Nz([Price], -1), "
                     u"UCase(Left([Item], 2)) & LCase(Mid([Item], 3, 2)) & Right([Item], 1), "
                     u"Trim('  x  ') & Chr(65) & Len([Item]), 'a' + 'b', 7 \\ 2, 7 Mod 3, 2 ^ 3, "
                     u"-2 ^ 2, Year([When]), Month([When]), Day([When]), Not [Done], [Qty] / 4 "
                     u"FROM [Order Lines] WHERE Not IsNull([Item]) and [Id]=3"),
              (std::vector<std::string>{"none|-1|CHery|xA6|ab|3|1|8|-4|2024|2|1|-1|1.75"}));
    EXPECT_EQ(select(u"SELECT True, False, Yes, No, Null, 1 = 1, 'x' <> 'X'"),
              (std::vector<std::string>{"-1|0|-1|0|NULL|-1|0"}));
    EXPECT_EQ(select(u"SELECT [Item] FROM [Order Lines] WHERE [Item] Like '[!ab]*' "
                     u"OR [Item] Like 'B?n#n*'"),
              (std::vector<std::string>{"cherry"}));
    EXPECT_EQ(single(u"SELECT Date() - Int(Now())").toDouble(), 0.0);
    // A saved query reads like a table; a PARAMETERS clause binds its names in order.
    exec(u"CREATE VIEW [Cheap] AS SELECT [Item], [Price] FROM [Order Lines] WHERE [Price] < 1");
    EXPECT_EQ(select(u"SELECT c.[Item] FROM [Cheap] AS c INNER JOIN [Order Lines] ON "
                     u"c.[Item] = [Order Lines].[Item]"),
              (std::vector<std::string>{"Banana"}));
    EXPECT_EQ(select(u"PARAMETERS [pMin] Short, [pName] Text(10); SELECT [Id] FROM [Order Lines] "
                     u"WHERE [Qty] >= [pMin] AND [Item] <> [pName]",
                     {Variant(std::int32_t(5)), Variant(u"BANANA")}),
              (std::vector<std::string>{"3"}));
    EXPECT_EQ(select(u"SELECT [Item] FROM [Order Lines] WHERE [Qty] > ? AND [Item] Like ?",
                     {Variant(std::int32_t(4)), Variant(u"*a*")}),
              (std::vector<std::string>{"Banana"}));
    EXPECT_EQ(select(u"SELECT [Item] FROM [Order Lines] WHERE [Id] IN (SELECT Max([Id]) FROM "
                     u"[Order Lines]) UNION SELECT 'zz' ORDER BY 1"),
              (std::vector<std::string>{"cherry", "zz"}));
}

TEST_F(DataStatements, SystemTablesAndStorageTablesAnswerTheObjectListings) {
    exec(u"CREATE TABLE [Orders] ([Id] LONG)");
    exec(u"CREATE TABLE [Aaa] ([Id] LONG)");
    exec(u"CREATE VIEW [Recent] AS SELECT * FROM [Orders]");
    EXPECT_EQ(select(u"SELECT MSysObjects.Name FROM MSysObjects WHERE MSysObjects.Type=1 AND "
                     u"MSysObjects.Flags=0 ORDER BY MSysObjects.Name"),
              (std::vector<std::string>{"Aaa", "Orders"}));
    EXPECT_EQ(select(u"SELECT [Name], Type FROM MSysObjects WHERE Type=5"),
              (std::vector<std::string>{"Recent|5"}));
    EXPECT_EQ(select(u"SELECT Name FROM MSysObjects WHERE Type=-32768"),
              std::vector<std::string>{});
    EXPECT_EQ(select(u"SELECT [Name] FROM MSysObjects WHERE Not IsNull(LvExtra) and Type=1"),
              std::vector<std::string>{});
    EXPECT_EQ(runFailure(u"DELETE FROM MSysObjects"),
              u"Cannot update. Database or object is read-only.");
    // A table the storage holds outside the catalog passes through by its name.
    sqlite("CREATE TABLE Extra (Name TEXT); INSERT INTO Extra VALUES ('x');");
    EXPECT_EQ(select(u"SELECT [extra].[Name] FROM [EXTRA]"), (std::vector<std::string>{"x"}));
    // The engine's own tables stay hidden.
    for (const char16_t* hidden : {u"kel.tables", u"KEL.TABLES", u"sqlite_schema"})
        EXPECT_EQ(failureOf([&] { select(u"SELECT * FROM [" + std::u16string(hidden) + u"]"); }),
                  u"The database engine cannot find the input table or query '" +
                      std::u16string(hidden) +
                      u"'. Make sure it exists and that its name is spelled correctly.");
}

TEST_F(DataStatements, FailedStatementLeavesTheFileByteForByte) {
    exec(u"CREATE TABLE [T] ([Id] LONG CONSTRAINT [PK] PRIMARY KEY, [Name] TEXT(5))");
    run(u"INSERT INTO [T] VALUES (1, 'a')");
    run(u"INSERT INTO [T] VALUES (2, 'b')");
    connection->close();
    std::string before = bytesOf(path);
    connection->open(connectionString(u16(path)), u"", u"", -1);
    // The first row of each fits; a later one breaks a key, a size or a type.
    for (const char16_t* sql : {u"INSERT INTO [T] ([Id], [Name]) SELECT [Id] + 10, [Name] FROM [T] "
                                u"UNION ALL SELECT 1, 'dup'",
                                u"UPDATE [T] SET [Name] = IIf([Id] = 2, 'toolong', 'ok')",
                                u"INSERT INTO [T] ([Id], [Name]) SELECT 3, 'x' UNION ALL SELECT "
                                u"'four', 'y'",
                                u"UPDATE [T] SET [Id] = [Id] \\ 0"})
        runFailure(sql);
    connection->close();
    EXPECT_EQ(bytesOf(path), before);
    connection->open(connectionString(u16(path)), u"", u"", -1);
    EXPECT_EQ(select(u"SELECT * FROM [T] ORDER BY [Id]"), (std::vector<std::string>{"1|a", "2|b"}));
}



} // namespace enginetest

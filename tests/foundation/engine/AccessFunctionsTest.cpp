#include "DataFixture.h"

namespace enginetest {

// The Access functions and conversions of the embedded engine, through SELECT.
class AccessFunctions : public DataFixture {
protected:
    std::string row(const std::u16string& expressions) {
        std::vector<std::string> rows = select(u"SELECT " + expressions);
        return rows.size() == 1 ? rows[0] : "(" + std::to_string(rows.size()) + " rows)";
    }
};

TEST_F(AccessFunctions, TextFunctionsCountUtf16UnitsAndKeepNulls) {
    EXPECT_EQ(row(u"Len('h\u00E9\U0001F600'), Left('abc', 5), Right('abc', 0), Mid('abcdef', 5), "
                  u"Mid('abc', 9, 2), Mid('abcdef', 2, 3), UCase('\u00E4b\u0142'), "
                  u"LCase('\u00C4B\u0141\u0416')"),
              text::toUtf8(u"4|abc||ef||bcd|\u00C4B\u0141|\u00E4b\u0142\u0436"));
    EXPECT_EQ(row(u"InStr('Banana', 'AN'), InStr(3, 'Banana', 'an'), InStr('abc', ''), "
                  u"InStr('abc', 'z'), Replace('a-b-c', '-', '+'), Space(2) & '|', "
                  u"LTrim('  a ') & '|', RTrim(' a  ') & '|', StrReverse('abc')"),
              "2|4|1|0|a+b+c|  ||a || a||cba");
    EXPECT_EQ(row(u"Chr(128), ChrW(8364), Asc('A'), Chr(34) & 'q' & Chr(34), Left$('xy', 1)"),
              text::toUtf8(u"\u20AC|\u20AC|65|\"q\"|x"));
    EXPECT_EQ(row(u"Left(Null, 1), Mid(Null, 1), UCase(Null), Trim(Null), InStr(Null, 'a')"),
              "NULL|NULL|NULL|NULL|NULL");
    for (const char16_t* bad : {u"Left('a', -1)", u"Mid('a', 0)", u"Chr(256)", u"Asc('')"})
        EXPECT_EQ(failureOf([&] { row(bad); }), u"Invalid procedure call or argument.")
            << text::toUtf8(bad);
    EXPECT_EQ(failureOf([&] { row(u"Chr(Null)"); }), u"Invalid use of Null.");
}

TEST_F(AccessFunctions, NumbersRoundHalfToEvenAndConvertLikeAccess) {
    EXPECT_EQ(row(u"Round(2.5), Round(3.5), Round(-2.5), Round(1.005, 2), Round(0.125, 2), "
                  u"CLng(2.5), CInt(-3.5), Int(-1.5), Fix(-1.5), Sgn(-3), Abs(-4), Sqr(9)"),
              "2|4|-2|1|0.12|2|-4|-2|-1|-1|4|3");
    EXPECT_EQ(row(u"Val(' 12 3abc'), Val('x'), Val('-1.5e'), CDbl('2.5'), CStr(1.5) & 'x', "
                  u"CBool(3), IsNumeric('1e3'), IsNumeric('abc'), IsNumeric(Null)"),
              "123|0|-1.5|2.5|1.5x|-1|-1|0|0");
    EXPECT_EQ(row(u"'3' + 4, '3' + '4', 10 / 4, -7 \\ 2, -7 Mod 3, 7.6 \\ 2, 2 ^ -1"),
              "7|34|2.5|-3|-1|4|0.5");
    EXPECT_EQ(failureOf([&] { row(u"CLng(3000000000)"); }), u"Overflow.");
    EXPECT_EQ(failureOf([&] { row(u"5 Mod 0"); }), u"Division by zero.");
    EXPECT_EQ(failureOf([&] { row(u"'a' + 1"); }), u"Data type mismatch in criteria expression.");
    EXPECT_EQ(failureOf([&] { row(u"Sqr(-1)"); }), u"Invalid procedure call or argument.");
}

TEST_F(AccessFunctions, DateArithmeticCountsBoundariesAndClampsMonthEnds) {
    EXPECT_EQ(row(u"DateAdd('m', 1, #1/31/2024#) = #2/29/2024#, "
                  u"DateAdd('yyyy', -1, #2/29/2024#) = #2/28/2023#, "
                  u"DateAdd('d', 2, #12/31/2023 23:00#) = #1/2/2024 23:00#, "
                  u"DateAdd('h', -25, #1/2/2024#) = #12/31/2023 23:00#, "
                  u"DateAdd('q', 1, #11/15/2023#) = #2/15/2024#, DateAdd('ww', 1, #12/30/1899#)"),
              "-1|-1|-1|-1|-1|7");
    EXPECT_EQ(row(u"DateDiff('yyyy', #12/31/2023#, #1/1/2024#), DateDiff('m', #1/31/2024#, "
                  u"#2/1/2024#), DateDiff('d', #1/1/2024 23:59#, #1/2/2024 00:01#), "
                  u"DateDiff('h', #10:59#, #11:00#), DateDiff('n', #1/1/2024#, #12/31/2023#), "
                  u"DateDiff('ww', #12/9/2026#, #12/13/2026#), DateDiff('w', #12/9/2026#, "
                  u"#12/13/2026#), DateDiff('q', #3/31/2024#, #4/1/2024#)"),
              "1|1|1|1|-1440|1|0|1");
    EXPECT_EQ(row(u"DateAdd('d', 1, Null), DateDiff('d', Null, Now())"), "NULL|NULL");
    EXPECT_EQ(failureOf([&] { row(u"DateAdd('x', 1, Now())"); }),
              u"Invalid procedure call or argument.");
}

TEST_F(AccessFunctions, LikePatternsOfAccess) {
    struct Case {
        const char16_t* text;
        const char16_t* pattern;
        const char* result;
    } cases[] = {
        {u"abc", u"a*", "-1"},
        {u"ABC", u"a?c", "-1"},
        {u"abc", u"a?", "0"},
        {u"a1c", u"a#c", "-1"},
        {u"abc", u"a#c", "0"},
        {u"b", u"[a-c]", "-1"},
        {u"d", u"[a-c]", "0"},
        {u"d", u"[!a-c]", "-1"},
        {u"a*b", u"a[*]b", "-1"},
        {u"axxb", u"a[*]b", "0"},
        {u"", u"*", "-1"},
        {u"abcabc", u"*bc", "-1"},
        {u"mississippi", u"*ss*pp*", "-1"},
        {u"abc", u"*x*", "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(row(u"'" + std::u16string(c.text) + u"' Like '" + c.pattern + u"'"), c.result)
            << text::toUtf8(c.text) << " Like " << text::toUtf8(c.pattern);
    EXPECT_EQ(failureOf([&] { row(u"'a' Like '[a'"); }), u"Invalid pattern string.");
}

TEST_F(AccessFunctions, StoredTypesTakeTheirValuesWholeOrRefuseThem) {
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

TEST_F(AccessFunctions, StatementsTheEngineDoesNotRunSayWhat) {
    exec(u"CREATE TABLE [T] ([A] LONG)");
    exec(u"CREATE TABLE [U] ([A] LONG)");
    EXPECT_EQ(failureOf([&] { select(u"SELECT TOP 10 PERCENT * FROM [T]"); }),
              u"TOP n PERCENT is not supported by this database engine.");
    EXPECT_EQ(runFailure(u"SELECT * INTO [X] FROM [T]"),
              u"A make-table query (SELECT ... INTO) is not supported by this database engine.");
    EXPECT_EQ(runFailure(u"UPDATE [T] INNER JOIN [U] ON [T].[A] = [U].[A] SET [T].[A] = 1"),
              u"An UPDATE over joined tables is not supported by this database engine.");
    EXPECT_EQ(runFailure(u"TRANSFORM Count(*) SELECT [A] FROM [T] GROUP BY [A] PIVOT [A]"),
              u"A crosstab query (TRANSFORM) is not supported by this database engine.");
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([A], [a]) VALUES (1, 2)"),
              u"Duplicate output destination 'A'.");
    exec(u"CREATE VIEW [V] AS SELECT * FROM [T]");
    EXPECT_EQ(runFailure(u"DELETE FROM [V]"), u"Operation must use an updateable query.");
    // Views that name each other fail instead of nesting for ever.
    exec(u"CREATE VIEW [Loop1] AS SELECT * FROM [Loop2]");
    exec(u"CREATE VIEW [Loop2] AS SELECT * FROM [Loop1]");
    EXPECT_EQ(failureOf([&] { select(u"SELECT * FROM [Loop1]"); }),
              u"Circular reference caused by 'Loop1'.");
}

} // namespace enginetest

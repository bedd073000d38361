#include "EngineFixture.h"

#include <random>

namespace enginetest {

using MalformedSql = EmbeddedDatabase;

// Statements made of random pieces of DDL: each either runs or fails with an EngineError, and
// the database opens and reads afterwards.
TEST_F(MalformedSql, RandomStatementsNeverBreakTheDatabase) {
    exec(u"CREATE TABLE [T] ([Id] LONG PRIMARY KEY, [A] TEXT(10))");
    sqlite("INSERT INTO \"T\" VALUES (1, 'x'), (2, 'y')");
    const char16_t* pieces[] = {
        u"CREATE",      u"ALTER",
        u"DROP",        u"TABLE",
        u"INDEX",       u"UNIQUE",
        u"CONSTRAINT",  u"PRIMARY",
        u"KEY",         u"FOREIGN",
        u"REFERENCES",  u"ON",
        u"DELETE",      u"UPDATE",
        u"CASCADE",     u"SET",
        u"NULL",        u"NOT",
        u"DEFAULT",     u"WITH",
        u"COMPRESSION", u"CHECK",
        u"ADD",         u"COLUMN",
        u"[T]",         u"[U]",
        u"[A]",         u"[B]",
        u"[Id]",        u"T",
        u"TEXT(5)",     u"LONG",
        u"MEMO",        u"DECIMAL(3,1)",
        u"(",           u")",
        u",",           u";",
        u"\"s\"",       u"'",
        u"[",           u"#1/1/2000#",
        u"--",          u"/*",
        u"*/",          u"0",
        u"-",           u"AUTOINCREMENT",
        u"VIEW",        u"AS",
        u"SELECT",      u"*",
        u"FROM",        u"\u00e9",
        u"\t",          u"\r\n",
        u"NO",          u"IGNORE",
        u"DISALLOW",    u"PROCEDURE",
        u"PARAMETERS",
    };
    std::mt19937 random(12345);
    int failed = 0;
    for (int i = 0; i < 1500; ++i) {
        std::u16string sql = i % 3 == 0   ? u"CREATE TABLE [U] ("
                             : i % 3 == 1 ? u"ALTER TABLE [T] "
                                          : u"";
        int count = 1 + int(random() % 12);
        for (int p = 0; p < count; ++p)
            sql += std::u16string(pieces[random() % std::size(pieces)]) + u" ";
        try {
            exec(sql);
        } catch (const EngineError& e) {
            EXPECT_FALSE(e.description().empty()) << text::toUtf8(sql);
            ++failed;
        }
    }
    EXPECT_GT(failed, 1000);
    reopen();
    EXPECT_GE(catalog->tables()->count(), 2);
    EXPECT_EQ(rows("SELECT count(*) FROM \"T\"")[0], "2");
    EXPECT_EQ(rows("PRAGMA integrity_check")[0], "ok");
}

TEST_F(MalformedSql, EmptyAndBlankStatements) {
    for (const char16_t* sql : {u"", u"   ", u";", u"-- only a comment", u"/* unterminated"})
        EXPECT_NE(failureOf([&] { exec(sql); }), u"") << text::toUtf8(sql);
}

} // namespace enginetest

#include "EngineFixture.h"

namespace enginetest {

using CreateTable = EmbeddedDatabase;

// The type names, clauses and messages of CREATE TABLE are pinned in the conformance files;
// here, that failing statements leave the file byte for byte as it was.
TEST_F(CreateTable, BadStatementsLeaveTheFileAsItWas) {
    exec(u"CREATE TABLE [T] ([A] LONG)");
    std::string before = bytesOf(path);
    for (const char16_t* sql :
         {u"CREATE TABLE [T] ([B] LONG)", u"CREATE TABLE [U] ([A] LONG, [a] TEXT)",
          u"CREATE TABLE [U] ([A] TEXT(300))", u"CREATE TABLE [U] ([A] LONG",
          u"CREATE TABLE [U] ([A] LONG) garbage",
          u"CREATE TABLE [U] ([A] LONG, CONSTRAINT [X] PRIMARY KEY ([B]))",
          u"CREATE TABLE [U] ([A] LONG REFERENCES [T])", u"CREATE TABLE [MSysObjects] ([A] LONG)",
          u"SELCT * FROM T"})
        failure(sql);
    EXPECT_TRUE(bytesOf(path) == before) << "the file changed";
    EXPECT_EQ(catalog->tables()->count(), 2); // T and MSysObjects
}

TEST_F(CreateTable, SyntaxErrorsCarryTheSyntaxStatus) {
    try {
        exec(u"CREATE TABLE");
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.status(), status::syntaxError);
        EXPECT_EQ(e.description(), u"Syntax error in CREATE TABLE statement.");
    }
}

} // namespace enginetest

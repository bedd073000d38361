#include "EngineFixture.h"

namespace enginetest {

class IndexAndDrop : public EmbeddedDatabase {
protected:
    void SetUp() override {
        EmbeddedDatabase::SetUp();
        exec(u"CREATE TABLE [T] ([Id] LONG, [A] TEXT(10), [B] LONG)");
        sqlite("INSERT INTO \"T\" VALUES (1, 'x', 1), (2, 'y', NULL)");
    }
};

// Their messages are pinned in the conformance files; here, that the file stays as it was.
TEST_F(IndexAndDrop, IndexesThatCannotBeMadeLeaveTheFileAsItWas) {
    exec(u"CREATE INDEX [IX] ON [T] ([A])");
    std::string before = bytesOf(path);
    for (const char16_t* sql :
         {u"CREATE INDEX [ix] ON [T] ([B])", u"CREATE INDEX [IX2] ON [T] ([Nope])",
          u"CREATE INDEX [IX2] ON [Nope] ([A])",
          u"CREATE INDEX [IX2] ON [T] ([B]) WITH DISALLOW NULL",
          u"CREATE INDEX [IX2] ON [T] ([B]) WITH"})
        failure(sql);
    EXPECT_TRUE(bytesOf(path) == before) << "the file changed";
}

// The messages of protected indexes and tables are pinned in the conformance files; here,
// what dropping leaves in the file.
TEST_F(IndexAndDrop, DroppedTablesLeaveNoDataTables) {
    exec(u"ALTER TABLE [T] ADD CONSTRAINT [PK] PRIMARY KEY ([Id])");
    exec(u"CREATE TABLE [C] ([Id] LONG, [TId] LONG CONSTRAINT [FK] REFERENCES [T] ([Id]))");
    EXPECT_NE(failure(u"DROP TABLE [T]"), u"");
    exec(u"ALTER TABLE [C] DROP CONSTRAINT [FK]");
    exec(u"DROP TABLE [C]");
    exec(u"DROP TABLE [T]");
    EXPECT_EQ(catalog->tables()->count(), 1);
    EXPECT_TRUE(rows("SELECT name FROM sqlite_schema WHERE name IN ('T', 'C')").empty());
}

} // namespace enginetest

#include "EngineFixture.h"

namespace enginetest {

class IndexAndDrop : public EmbeddedDatabase {
protected:
    void SetUp() override {
        EmbeddedDatabase::SetUp();
        exec(u"CREATE TABLE [T] ([Id] LONG, [A] TEXT(10), [B] LONG)");
        sqlite("INSERT INTO \"T\" VALUES (1, 'x', 1), (2, 'y', NULL)");
    }
    std::shared_ptr<dao::Database> dao() {
        return components().createDBEngine(daoClassId)->openDatabase(u16(path), {}, false, u"");
    }
};

TEST_F(IndexAndDrop, CreateIndexOptionsReadBackThroughAdoxAndDao) {
    exec(u"CREATE UNIQUE INDEX [IX_Id]\r\n\tON [T] ([Id])\r\n\tWITH PRIMARY;\r\n");
    exec(u"CREATE UNIQUE INDEX [IX_A]\r\n\tON [T] ([A] DESC)\r\n\tWITH DISALLOW NULL");
    exec(u"create index IX_B on T (B, A) with ignore null");
    exec(u"CREATE INDEX [IX_Plain] ON [T] ([B])");
    reopen();
    auto indexes = table(u"T")->indexes();
    ASSERT_EQ(indexes->count(), 4);
    auto id = indexes->item(u"IX_Id");
    EXPECT_TRUE(id->primaryKey());
    EXPECT_TRUE(id->unique());
    EXPECT_EQ(id->indexNulls(), adox::indexNullsDisallow);
    EXPECT_EQ(indexes->item(u"IX_A")->indexNulls(), adox::indexNullsDisallow);
    EXPECT_TRUE(indexes->item(u"IX_A")->unique());
    EXPECT_EQ(indexes->item(u"IX_B")->indexNulls(), adox::indexNullsIgnore);
    EXPECT_FALSE(indexes->item(u"IX_B")->unique());
    EXPECT_EQ(indexes->item(u"IX_B")->columns()->count(), 2);
    EXPECT_EQ(indexes->item(u"IX_Plain")->indexNulls(), adox::indexNullsAllow);

    auto db = dao();
    auto daoIndexes = db->tableDefs()->item(u"T")->indexes();
    EXPECT_TRUE(daoIndexes->item(u"IX_Id")->primary());
    EXPECT_TRUE(daoIndexes->item(u"IX_A")->required());
    EXPECT_TRUE(daoIndexes->item(u"IX_B")->ignoreNulls());
    EXPECT_EQ(daoIndexes->item(u"IX_B")->fields()->item(1)->name(), u"A");
    db->close();
    EXPECT_EQ(table(u"T")->keys()->item(u"IX_Id")->type(), adox::keyPrimary);
}

TEST_F(IndexAndDrop, IndexesThatCannotBeMade) {
    exec(u"CREATE INDEX [IX] ON [T] ([A])");
    std::string before = bytesOf(path);
    EXPECT_EQ(failure(u"CREATE INDEX [ix] ON [T] ([B])"),
              u"Table 'T' already has an index named 'ix'.");
    EXPECT_EQ(failure(u"CREATE INDEX [IX2] ON [T] ([Nope])"),
              u"Field 'Nope' does not exist in table 'T'.");
    EXPECT_EQ(failure(u"CREATE INDEX [IX2] ON [Nope] ([A])"),
              u"The database engine cannot find the input table or query 'Nope'. Make sure it "
              u"exists and that its name is spelled correctly.");
    EXPECT_EQ(failure(u"CREATE INDEX [IX2] ON [T] ([B]) WITH DISALLOW NULL"),
              u"Index or primary key cannot contain a Null value.");
    EXPECT_EQ(failure(u"CREATE INDEX [IX2] ON [T] ([B]) WITH"),
              u"Syntax error in CREATE INDEX statement.");
    EXPECT_TRUE(bytesOf(path) == before) << "the file changed";
}

TEST_F(IndexAndDrop, DropIndexRemovesItAndItsNullRule) {
    exec(u"CREATE INDEX [IX] ON [T] ([A]) WITH DISALLOW NULL");
    exec(u"DROP INDEX [IX] ON [T];");
    EXPECT_EQ(table(u"T")->indexes()->count(), 0);
    // The column takes nulls again.
    sqlite("INSERT INTO \"T\" VALUES (3, NULL, 3)");
    EXPECT_EQ(failure(u"DROP INDEX [IX] ON [T]"), u"'IX' isn't an index in this table.");
    EXPECT_EQ(failure(u"DROP INDEX [IX]"), u"Syntax error in DROP TABLE or DROP INDEX.");
}

TEST_F(IndexAndDrop, RelationshipsProtectTheirIndexesAndTables) {
    exec(u"ALTER TABLE [T] ADD CONSTRAINT [PK] PRIMARY KEY ([Id])");
    exec(u"CREATE TABLE [C] ([Id] LONG, [TId] LONG CONSTRAINT [FK] REFERENCES [T] ([Id]))");
    const std::u16string used = u"Cannot delete this index or table. It is either the current "
                                u"index or is used in a relationship.";
    EXPECT_EQ(failure(u"DROP INDEX [FK] ON [C]"), used);
    EXPECT_EQ(failure(u"DROP INDEX [PK] ON [T]"), used);
    EXPECT_EQ(failure(u"DROP TABLE [T]"), used);
    EXPECT_EQ(failure(u"DROP TABLE [C]"), used);
    EXPECT_EQ(failure(u"ALTER TABLE [C] DROP COLUMN [TId]"),
              u"Cannot delete a field that is part of an index or is needed by the system.");
    EXPECT_EQ(failure(u"ALTER TABLE [T] ALTER COLUMN [Id] TEXT(5)"),
              u"Cannot change field 'Id'. It is part of one or more relationships.");
    exec(u"ALTER TABLE [C] DROP CONSTRAINT [FK]");
    exec(u"DROP TABLE [C]");
    exec(u"DROP TABLE [T]");
    EXPECT_EQ(catalog->tables()->count(), 1);
    EXPECT_TRUE(rows("SELECT name FROM sqlite_schema WHERE name IN ('T', 'C')").empty());
}

TEST_F(IndexAndDrop, DropTableViewAndProcedure) {
    exec(u"CREATE VIEW [V] AS SELECT [Id] FROM [T]");
    exec(u"CREATE PROCEDURE [P] ([pId] LONG) AS SELECT * FROM [T] WHERE [Id] = [pId]");
    EXPECT_EQ(catalog->views()->count(), 1);
    EXPECT_EQ(catalog->procedures()->count(), 1);
    EXPECT_EQ(failure(u"DROP TABLE [V]"),
              u"The database engine cannot find the input table or query 'V'. Make sure it "
              u"exists and that its name is spelled correctly.");
    EXPECT_EQ(failure(u"CREATE TABLE [V] ([X] LONG)"), u"Table 'V' already exists.");
    exec(u"DROP VIEW [V]");
    exec(u"drop procedure P;");
    EXPECT_EQ(catalog->views()->count(), 0);
    EXPECT_EQ(catalog->procedures()->count(), 0);
    EXPECT_EQ(failure(u"DROP VIEW [V]"),
              u"The database engine cannot find the input table or query 'V'. Make sure it "
              u"exists and that its name is spelled correctly.");
    exec(u"DROP TABLE [T]");
    EXPECT_EQ(failure(u"DROP TABLE [T]"),
              u"The database engine cannot find the input table or query 'T'. Make sure it "
              u"exists and that its name is spelled correctly.");
}

} // namespace enginetest

#include "EngineFixture.h"

namespace enginetest {

class AlterTable : public EmbeddedDatabase {
protected:
    void SetUp() override {
        EmbeddedDatabase::SetUp();
        exec(u"CREATE TABLE [T] ([Id] LONG CONSTRAINT [PK_T] PRIMARY KEY, [Name] TEXT(20), "
             u"[Qty] LONG DEFAULT 5)");
        sqlite("INSERT INTO \"T\" VALUES (1, 'one', 10), (2, 'two', NULL), (3, NULL, 30)");
    }

    std::vector<std::string> all() { return rows("SELECT * FROM \"T\" ORDER BY 1"); }
};


TEST_F(AlterTable, AddRequiredColumnWithoutALiteralDefaultFailsOnRows) {
    std::string before = bytesOf(path);
    EXPECT_EQ(failure(u"ALTER TABLE [T] ADD COLUMN [When] DATETIME NOT NULL DEFAULT Now()"),
              u"Field 'T.When' cannot contain a Null value because the Required property for "
              u"this field is set to True. Enter a value in this field.");
    EXPECT_TRUE(bytesOf(path) == before) << "the file changed";
}


TEST_F(AlterTable, AlterColumnConvertsKeptValuesAndKeepsProperties) {
    catalog->tables()
        ->item(u"T")
        ->columns()
        ->item(u"Name")
        ->properties()
        ->item(u"Jet OLEDB:Column Validation Rule")
        ->setValue(Variant(u"Len([Name]) > 0"));
    EXPECT_EQ(failure(u"ALTER TABLE [T]\r\n\tALTER COLUMN [Name] TEXT(50) NOT NULL DEFAULT \"x\""),
              u"Field 'T.Name' cannot contain a Null value because the Required property for "
              u"this field is set to True. Enter a value in this field.");
    sqlite("UPDATE \"T\" SET \"Name\" = 'three' WHERE \"Id\" = 3");
    exec(u"ALTER TABLE [T] ALTER COLUMN [Name] TEXT(50) NOT NULL DEFAULT \"x\"");
    exec(u"ALTER TABLE [T] ALTER COLUMN [Qty] TEXT(10)");
    reopen();
    auto name = column(u"T", u"Name");
    EXPECT_EQ(name->definedSize(), 50);
    EXPECT_EQ(name->attributes() & adox::columnNullable, 0);
    EXPECT_EQ(property(name, u"Default"), Variant(u"\"x\""));
    EXPECT_EQ(property(name, u"Jet OLEDB:Column Validation Rule"), Variant(u"Len([Name]) > 0"));
    // Without DEFAULT the default stays; a bare DEFAULT removes it.
    EXPECT_EQ(property(column(u"T", u"Qty"), u"Default"), Variant(u"5"));
    exec(u"ALTER TABLE [T]\r\n\tALTER COLUMN [Qty] TEXT(10) DEFAULT ;\r\n");
    EXPECT_TRUE(property(column(u"T", u"Qty"), u"Default").isEmpty());
    std::vector<std::string> expected = {"1|one|10", "2|two|NULL", "3|three|30"};
    EXPECT_EQ(all(), expected);
    EXPECT_EQ(rows("SELECT typeof(\"Qty\") FROM \"T\" WHERE \"Id\" = 1")[0], "text");
}

TEST_F(AlterTable, AlterColumnRefusesToLoseData) {
    sqlite("UPDATE \"T\" SET \"Name\" = 'a rather long name' WHERE \"Id\" = 1");
    std::string before = bytesOf(path);
    EXPECT_EQ(failure(u"ALTER TABLE [T] ALTER COLUMN [Name] TEXT(5)"),
              u"The field is too small to accept the amount of data you attempted to add. Try "
              u"inserting or pasting less data.");
    EXPECT_EQ(failure(u"ALTER TABLE [T] ALTER COLUMN [Name] LONG"), u"Data type conversion error.");
    sqlite("UPDATE \"T\" SET \"Qty\" = 300 WHERE \"Id\" = 3");
    before = bytesOf(path);
    EXPECT_EQ(failure(u"ALTER TABLE [T] ALTER COLUMN [Qty] BYTE"), u"Numeric field overflow.");
    EXPECT_EQ(failure(u"ALTER TABLE [T] ALTER COLUMN [Nope] LONG"),
              u"Field 'Nope' does not exist in table 'T'.");
    EXPECT_TRUE(bytesOf(path) == before) << "the file changed";
    exec(u"ALTER TABLE [T] ALTER COLUMN [Qty] DOUBLE");
    exec(u"ALTER TABLE [T] ALTER COLUMN [Qty] YESNO");
    std::vector<std::string> expected = {"1|a rather long name|-1", "2|two|NULL", "3|NULL|-1"};
    EXPECT_EQ(all(), expected);
}

TEST_F(AlterTable, ConstraintsAddAndDrop) {
    exec(u"CREATE TABLE [C] ([Id] LONG, [TId] LONG, [Code] TEXT(5))");
    sqlite("INSERT INTO \"C\" VALUES (1, 1, 'a'), (2, 1, 'b'), (3, NULL, 'c')");
    exec(u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [PK_C]\r\n\t PRIMARY KEY ([Id])");
    exec(u"ALTER TABLE [C] ADD CONSTRAINT [UQ_Code] UNIQUE ([Code])");
    exec(u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [FK_T]\r\n\tFOREIGN KEY ([TId]) REFERENCES\r\n\t\t"
         u"[T] ([Id])\r\n\tON UPDATE CASCADE\r\n\tON DELETE SET NULL");
    exec(u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [CK_Code]\r\n\tCHECK (Len([Code]) < 4);\r\n");
    reopen();
    auto indexes = table(u"C")->indexes();
    EXPECT_EQ(indexes->count(), 3);
    EXPECT_TRUE(indexes->item(u"PK_C")->primaryKey());
    EXPECT_TRUE(indexes->item(u"UQ_Code")->unique());
    auto fk = table(u"C")->keys()->item(u"FK_T");
    EXPECT_EQ(fk->updateRule(), adox::ruleCascade);
    EXPECT_EQ(fk->deleteRule(), adox::ruleSetNull);
    auto db = components().createDBEngine(daoClassId)->openDatabase(u16(path), {}, false, u"");
    auto relation = db->relations()->item(u"FK_T");
    EXPECT_EQ(relation->table(), u"T");
    EXPECT_EQ(relation->foreignTable(), u"C");
    EXPECT_EQ(relation->attributes(), 0x100 | 0x2000);
    db->close();

    EXPECT_EQ(failure(u"ALTER TABLE [C] ADD CONSTRAINT [PK2] PRIMARY KEY ([Code])"),
              u"Primary key already exists.");
    EXPECT_EQ(failure(u"ALTER TABLE [C] ADD CONSTRAINT [UQ_Code] UNIQUE ([TId])"),
              u"Table 'C' already has an index named 'UQ_Code'.");
    EXPECT_EQ(failure(u"ALTER TABLE [C] ADD CONSTRAINT [FK_T] FOREIGN KEY ([Id]) REFERENCES [T]"),
              u"Object 'FK_T' already exists.");
    EXPECT_EQ(failure(u"ALTER TABLE [C] ADD CONSTRAINT [FK_X] FOREIGN KEY ([Code]) REFERENCES [T]"),
              u"Relationship must be on the same number of fields with the same data types.");
    EXPECT_EQ(failure(u"ALTER TABLE [T] DROP CONSTRAINT [PK_T]"),
              u"Cannot delete this index or table. It is either the current index or is used "
              u"in a relationship.");
    EXPECT_EQ(failure(u"ALTER TABLE [C] DROP CONSTRAINT [Nope]"),
              u"Cannot find table or constraint.");

    exec(u"ALTER TABLE [C] DROP CONSTRAINT [FK_T]");
    exec(u"ALTER TABLE [C] DROP CONSTRAINT [UQ_Code]");
    exec(u"ALTER TABLE [C] DROP CONSTRAINT [CK_Code]");
    exec(u"ALTER TABLE [T] DROP CONSTRAINT [PK_T]");
    reopen();
    EXPECT_EQ(table(u"C")->indexes()->count(), 1);
    EXPECT_EQ(table(u"C")->keys()->count(), 1);
    EXPECT_EQ(table(u"T")->indexes()->count(), 0);
    EXPECT_EQ(rows("SELECT count(*) FROM \"C\"")[0], "3");
}

TEST_F(AlterTable, ConstraintsThatTheRowsBreakAreRefused) {
    exec(u"CREATE TABLE [C] ([Id] LONG, [TId] LONG, [Code] TEXT(5))");
    sqlite("INSERT INTO \"C\" VALUES (1, 9, 'a'), (1, 1, 'A'), (NULL, 1, 'b')");
    std::string before = bytesOf(path);
    std::u16string duplicates = failure(u"ALTER TABLE [C] ADD CONSTRAINT [U] UNIQUE ([Id])");
    EXPECT_NE(duplicates.find(u"duplicate values in the index"), std::u16string::npos);
    // Text compares ignoring case, as the engine's indexes do.
    EXPECT_NE(failure(u"CREATE UNIQUE INDEX [U] ON [C] ([Code])").find(u"duplicate values"),
              std::u16string::npos);
    EXPECT_EQ(failure(u"ALTER TABLE [C] ADD CONSTRAINT [P] PRIMARY KEY ([Id])"),
              u"Index or primary key cannot contain a Null value.");
    EXPECT_EQ(failure(u"ALTER TABLE [C] ADD CONSTRAINT [F] FOREIGN KEY ([TId]) REFERENCES [T]"),
              u"You cannot add or change a record because a related record is required in "
              u"table 'T'.");
    EXPECT_TRUE(bytesOf(path) == before) << "the file changed";
    EXPECT_EQ(table(u"C")->indexes()->count(), 0);
}

TEST_F(AlterTable, LinkedAndSystemTablesCannotChange) {
    auto linked = components().createTable();
    linked->setName(u"Remote");
    linked->properties()->item(u"Jet OLEDB:Create Link")->setValue(Variant(true));
    linked->properties()->item(u"Jet OLEDB:Link Datasource")->setValue(Variant(u"/other.mdb"));
    linked->properties()->item(u"Jet OLEDB:Remote Table Name")->setValue(Variant(u"Orders"));
    catalog->tables()->append(linked);
    EXPECT_EQ(failure(u"ALTER TABLE [Remote] ADD COLUMN [X] LONG"),
              u"Cannot modify the design of table 'Remote'. It is in a linked database.");
    EXPECT_EQ(failure(u"ALTER TABLE [MSysObjects] ADD COLUMN [X] LONG"),
              u"Cannot update. Database or object is read-only.");
    EXPECT_EQ(failure(u"DROP TABLE [MSysObjects]"),
              u"Cannot update. Database or object is read-only.");
    exec(u"DROP TABLE [Remote]");
    EXPECT_EQ(catalog->tables()->count(), 2);
}

} // namespace enginetest

namespace enginetest {

TEST_F(AlterTable, ANewAutoNumberNumbersTheRowsSoThatItCanBecomeTheKey) {
    exec(u"ALTER TABLE [T] DROP CONSTRAINT [PK_T]");
    exec(u"ALTER TABLE [T] ADD COLUMN [Seq] AUTOINCREMENT");
    exec(u"ALTER TABLE [T] ADD CONSTRAINT [PK_Seq] PRIMARY KEY ([Seq])");
    EXPECT_EQ(rows("SELECT \"Id\", \"Seq\" FROM \"T\" ORDER BY 1"),
              (std::vector<std::string>{"1|1", "2|2", "3|3"}));
}

} // namespace enginetest

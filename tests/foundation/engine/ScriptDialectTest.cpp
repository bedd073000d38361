#include "EngineFixture.h"

namespace enginetest {

// The plain-SQL statements of the synchronisation script, byte for byte as the comparer
// writes them, each read back through ADOX, the schema rowsets and DAO, also after reopening.
class ScriptDialect : public EmbeddedDatabase {
protected:
    std::shared_ptr<dao::Database> openDao() {
        return components().createDBEngine(daoClassId)->openDatabase(u16(path), {}, false, u"");
    }
    int rowCount(int schema, std::vector<Variant> restrictions) {
        int n = 0;
        for (auto rs = connection->openSchema(schema, restrictions); !rs->eof(); rs->moveNext())
            ++n;
        return n;
    }
};

TEST_F(ScriptDialect, CreateTableWithKeysAndEveryColumnClause) {
    exec(u"CREATE TABLE [Customers] (\r\n"
         u"\t[ID] AUTOINCREMENT,\r\n"
         u"\t[Name] TEXT(50) WITH COMPRESSION NOT NULL,\r\n"
         u"\t[Code] CHARACTER(5),\r\n"
         u"\t[Since] DATETIME DEFAULT '1/1/2000',\r\n"
         u"\t[Rate] DECIMAL(18, 4) DEFAULT 0,\r\n"
         u"\t[Photo] IMAGE,\r\n"
         u"\t[Key] UNIQUEIDENTIFIER,\r\n"
         u"\t[Flags] TINYINT,\r\n"
         u"\t[Notes] MEMO,\r\n"
         u"\t[Raw] BINARY,\r\n"
         u"\tCONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]),\r\n"
         u"\tCONSTRAINT [Code] UNIQUE ([Code], [Name])\r\n"
         u");\r\n");
    reopen();
    auto t = table(u"Customers");
    EXPECT_EQ(t->columns()->count(), 10);
    EXPECT_EQ(property(column(u"Customers", u"ID"), u"Autoincrement"), Variant(true));
    EXPECT_EQ(column(u"Customers", u"Code")->type(), 130);
    EXPECT_EQ(column(u"Customers", u"Raw")->definedSize(), 510);
    EXPECT_EQ(property(column(u"Customers", u"Since"), u"Default"), Variant(u"'1/1/2000'"));
    EXPECT_EQ(column(u"Customers", u"Rate")->numericScale(), 4);
    auto indexes = t->indexes();
    EXPECT_TRUE(indexes->item(u"PrimaryKey")->primaryKey());
    EXPECT_EQ(indexes->item(u"Code")->columns()->count(), 2);
    EXPECT_EQ(rowCount(ado::schemaColumns, {{}, {}, Variant(u"Customers"), {}}), 10);
    EXPECT_EQ(rowCount(ado::schemaTableConstraints, {{}, {}, {}, {}, {}, Variant(u"Customers")}),
              2);
    auto db = openDao();
    auto primary = db->tableDefs()->item(u"Customers")->indexes()->item(u"PrimaryKey");
    EXPECT_TRUE(primary->primary());
    EXPECT_EQ(primary->fields()->item(0)->name(), u"ID");
    db->close();
}

TEST_F(ScriptDialect, AlterStatementsIndexesKeysAndChecks) {
    exec(u"CREATE TABLE [P] (\r\n\t[ID] LONG,\r\n\tCONSTRAINT [PK_P] PRIMARY KEY ([ID])\r\n);\r\n");
    exec(u"CREATE TABLE [C] (\r\n\t[ID] LONG,\r\n\t[PID] LONG,\r\n\t[Old] TEXT(5),\r\n"
         u"\t[Qty] SMALLINT DEFAULT 1\r\n);\r\n");
    const char16_t* script[] = {
        u"ALTER TABLE [C] DROP COLUMN [Old];\r\n",
        u"ALTER TABLE [C]\r\n\tADD COLUMN [Name] TEXT(20) NOT NULL;\r\n",
        u"ALTER TABLE [C]\r\n\tALTER COLUMN [Qty] LONG DEFAULT ;\r\n",
        u"CREATE UNIQUE INDEX [IX_Name]\r\n\tON [C] ([Name])\r\n\tWITH DISALLOW NULL;\r\n",
        u"CREATE INDEX [IX_Qty]\r\n\tON [C] ([Qty], [Name])\r\n\tWITH IGNORE NULL;\r\n",
        u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [PK_C]\r\n\t PRIMARY KEY ([ID]);\r\n",
        u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [UQ_C]\r\n\t UNIQUE ([PID], [Name]);\r\n",
        u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [FK_C]\r\n\tFOREIGN KEY ([PID]) REFERENCES\r\n\t\t"
        u"[P] ([ID])\r\n\tON UPDATE CASCADE\r\n\tON DELETE SET NULL;\r\n",
        u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [CK_Qty]\r\n\tCHECK ([Qty] > 0);\r\n",
    };
    for (const char16_t* sql : script)
        exec(sql);
    reopen();
    auto c = table(u"C");
    EXPECT_EQ(c->columns()->count(), 4);
    EXPECT_TRUE(property(column(u"C", u"Qty"), u"Default").isEmpty());
    EXPECT_EQ(column(u"C", u"Qty")->type(), 3);
    EXPECT_EQ(column(u"C", u"Name")->attributes() & adox::columnNullable, 0);
    auto indexes = c->indexes();
    EXPECT_EQ(indexes->count(), 5);
    EXPECT_EQ(indexes->item(u"IX_Name")->indexNulls(), adox::indexNullsDisallow);
    EXPECT_EQ(indexes->item(u"IX_Qty")->indexNulls(), adox::indexNullsIgnore);
    EXPECT_TRUE(indexes->item(u"UQ_C")->unique());
    EXPECT_EQ(indexes->item(u"FK_C")->columns()->item(0)->name(), u"PID");
    auto fk = c->keys()->item(u"FK_C");
    EXPECT_EQ(fk->updateRule(), adox::ruleCascade);
    EXPECT_EQ(fk->deleteRule(), adox::ruleSetNull);
    EXPECT_EQ(rowCount(ado::schemaCheckConstraints, {}), 1);
    EXPECT_EQ(rowCount(ado::schemaTableConstraints,
                       {{}, {}, {}, {}, {}, Variant(u"C"), Variant(u"CHECK")}),
              1);
    auto db = openDao();
    EXPECT_EQ(db->relations()->item(u"FK_C")->attributes(), 0x100 | 0x2000);
    db->close();

    const char16_t* drops[] = {
        u"ALTER TABLE [C] DROP CONSTRAINT [FK_C];\r\n",
        u"ALTER TABLE [C] DROP CONSTRAINT [UQ_C];\r\n",
        u"ALTER TABLE [C] DROP CONSTRAINT [PK_C];\r\n",
        u"ALTER TABLE [C] DROP CONSTRAINT [CK_Qty];\r\n",
        u"DROP INDEX [IX_Name] ON [C];\r\n",
        u"DROP INDEX [IX_Qty] ON [C];\r\n",
        u"DROP TABLE [C];\r\n",
        u"DROP TABLE [P];\r\n",
    };
    for (const char16_t* sql : drops)
        exec(sql);
    reopen();
    EXPECT_EQ(catalog->tables()->count(), 1);
    EXPECT_EQ(rowCount(ado::schemaCheckConstraints, {}), 0);
}

TEST_F(ScriptDialect, ForeignKeysWithNoIndexOrUniqueAndSetNullUpdates) {
    exec(u"CREATE TABLE [P] (\r\n\t[ID] LONG,\r\n\tCONSTRAINT [PK_P] PRIMARY KEY ([ID])\r\n);\r\n");
    exec(u"CREATE TABLE [C] (\r\n\t[ID] LONG,\r\n\t[A] LONG,\r\n\t[B] LONG\r\n);\r\n");
    exec(u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [FK_A]\r\n\tFOREIGN KEY NO INDEX ([A]) REFERENCES"
         u"\r\n\t\t[P] ([ID])\r\n\tON UPDATE SET NULL\r\n\tON DELETE SET NULL;\r\n");
    exec(u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [FK_B]\r\n\tFOREIGN KEY UNIQUE ([B]) REFERENCES"
         u"\r\n\t\t[P] ([ID]);\r\n");
    reopen();
    auto indexes = table(u"C")->indexes();
    ASSERT_EQ(indexes->count(), 1);
    EXPECT_EQ(indexes->item(0)->name(), u"FK_B");
    EXPECT_TRUE(indexes->item(0)->unique());
    auto keys = table(u"C")->keys();
    EXPECT_EQ(keys->item(u"FK_A")->updateRule(), adox::ruleSetNull);
    EXPECT_EQ(keys->item(u"FK_A")->deleteRule(), adox::ruleSetNull);
    auto db = openDao();
    EXPECT_EQ(db->relations()->item(u"FK_B")->attributes() & dao::relationUnique,
              dao::relationUnique);
    EXPECT_EQ(db->relations()->item(u"FK_A")->attributes() & dao::relationDeleteSetNull,
              dao::relationDeleteSetNull);
    db->close();
}

} // namespace enginetest

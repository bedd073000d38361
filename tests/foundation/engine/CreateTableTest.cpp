#include "EngineFixture.h"

namespace enginetest {

using CreateTable = EmbeddedDatabase;

namespace {

struct TypeCase {
    const char16_t* ddl;
    int adoxType;
    int definedSize;
    int daoType;
    bool fixed;
};

// Every type name of the engine's type table, with what ADOX and DAO report for it.
const TypeCase typeCases[] = {
    {u"BIT", 11, 2, 1, false},
    {u"YESNO", 11, 2, 1, false},
    {u"LOGICAL", 11, 2, 1, false},
    {u"LOGICAL1", 11, 2, 1, false},
    {u"BOOLEAN", 11, 2, 1, false},
    {u"TINYINT", 17, 1, 2, false},
    {u"BYTE", 17, 1, 2, false},
    {u"INTEGER1", 17, 1, 2, false},
    {u"SMALLINT", 2, 2, 3, false},
    {u"SHORT", 2, 2, 3, false},
    {u"INTEGER2", 2, 2, 3, false},
    {u"LONG", 3, 4, 4, false},
    {u"INT", 3, 4, 4, false},
    {u"INTEGER", 3, 4, 4, false},
    {u"INTEGER4", 3, 4, 4, false},
    {u"CURRENCY", 6, 8, 5, false},
    {u"MONEY", 6, 8, 5, false},
    {u"SINGLE", 4, 4, 6, false},
    {u"REAL", 4, 4, 6, false},
    {u"FLOAT4", 4, 4, 6, false},
    {u"IEEESINGLE", 4, 4, 6, false},
    {u"DOUBLE", 5, 8, 7, false},
    {u"FLOAT", 5, 8, 7, false},
    {u"FLOAT8", 5, 8, 7, false},
    {u"NUMBER", 5, 8, 7, false},
    {u"IEEEDOUBLE", 5, 8, 7, false},
    {u"DATETIME", 7, 8, 8, false},
    {u"DATE", 7, 8, 8, false},
    {u"TIME", 7, 8, 8, false},
    {u"TIMESTAMP", 7, 8, 8, false},
    {u"BINARY(20)", 204, 20, 9, false},
    {u"VARBINARY(30)", 204, 30, 9, false},
    {u"BINARY", 204, 510, 9, false},
    {u"TEXT(50)", 202, 50, 10, false},
    {u"VARCHAR(40)", 202, 40, 10, false},
    {u"CHARACTER VARYING(30)", 202, 30, 10, false},
    {u"STRING", 202, 255, 10, false},
    {u"ALPHANUMERIC", 202, 255, 10, false},
    {u"TEXT", 202, 255, 10, false},
    {u"CHAR(10)", 130, 10, 10, true},
    {u"CHARACTER(5)", 130, 5, 10, true},
    {u"IMAGE", 205, 0, 11, false},
    {u"LONGBINARY", 205, 0, 11, false},
    {u"GENERAL", 205, 0, 11, false},
    {u"OLEOBJECT", 205, 0, 11, false},
    {u"MEMO", 203, 0, 12, false},
    {u"LONGTEXT", 203, 0, 12, false},
    {u"LONGCHAR", 203, 0, 12, false},
    {u"NOTE", 203, 0, 12, false},
    {u"NTEXT", 203, 0, 12, false},
    {u"UNIQUEIDENTIFIER", 72, 16, 15, false},
    {u"GUID", 72, 16, 15, false},
    {u"DECIMAL(12, 3)", 131, 19, 20, false},
    {u"NUMERIC", 131, 19, 20, false},
    {u"DEC(5)", 131, 19, 20, false},
};

} // namespace

TEST_F(CreateTable, EveryTypeNameReadsBackThroughAdoxAndDao) {
    std::u16string sql = u"CREATE TABLE [Types] (";
    for (std::size_t i = 0; i < std::size(typeCases); ++i)
        sql += (i ? u", [c" : u"[c") + text::toWString(std::int64_t(i)) + u"] " + typeCases[i].ddl;
    exec(sql + u")");
    reopen();
    auto columns = table(u"Types")->columns();
    auto db = components().createDBEngine(daoClassId)->openDatabase(u16(path), {}, false, u"");
    auto fields = db->tableDefs()->item(u"Types")->fields();
    ASSERT_EQ(columns->count(), int(std::size(typeCases)));
    for (std::size_t i = 0; i < std::size(typeCases); ++i) {
        const TypeCase& expected = typeCases[i];
        SCOPED_TRACE(text::toUtf8(expected.ddl));
        auto c = columns->item(int(i));
        EXPECT_EQ(c->type(), expected.adoxType);
        EXPECT_EQ(c->definedSize(), expected.definedSize);
        EXPECT_EQ(c->attributes(), adox::columnNullable | (expected.fixed ? adox::columnFixed : 0));
        EXPECT_EQ(fields->item(int(i))->type(), expected.daoType);
        EXPECT_EQ(property(c, u"Autoincrement"), Variant(false));
    }
    EXPECT_EQ(columns->item(52)->precision(), 12);
    EXPECT_EQ(columns->item(52)->numericScale(), 3);
    EXPECT_EQ(columns->item(53)->precision(), 18);
    EXPECT_EQ(columns->item(54)->precision(), 5);
    EXPECT_EQ(columns->item(54)->numericScale(), 0);
    EXPECT_EQ(columns->item(0)->precision(), 0);
    db->close();
}

TEST_F(CreateTable, AutoNumberCompressionNullabilityAndDefaultsAsWritten) {
    exec(u"CREATE TABLE [T] (\r\n\t[Id] AUTOINCREMENT,\r\n\t[Counted] COUNTER(10, 5),\r\n"
         u"\t[Name] TEXT(80) WITH COMPRESSION NOT NULL DEFAULT \"none, really\",\r\n"
         u"\t[Memo] MEMO WITH COMP,\r\n\t[When] DATETIME DEFAULT Now( ),\r\n"
         u"\t[Day] DATETIME DEFAULT #1/1/2000#,\r\n\t[Qty] LONG NOT NULL DEFAULT -1,\r\n"
         u"\t[Plain] TEXT(10)\r\n)");
    reopen();
    EXPECT_EQ(property(column(u"T", u"Id"), u"Autoincrement"), Variant(true));
    EXPECT_EQ(column(u"T", u"Counted")->type(), 3);
    EXPECT_EQ(property(column(u"T", u"Counted"), u"Autoincrement"), Variant(true));
    auto name = column(u"T", u"Name");
    EXPECT_EQ(property(name, u"Jet OLEDB:Compressed UniCode Strings"), Variant(true));
    EXPECT_EQ(property(name, u"Jet OLEDB:Allow Zero Length"), Variant(false));
    EXPECT_EQ(name->attributes() & adox::columnNullable, 0);
    EXPECT_EQ(property(name, u"Default"), Variant(u"\"none, really\""));
    EXPECT_EQ(property(column(u"T", u"Memo"), u"Jet OLEDB:Compressed UniCode Strings"),
              Variant(true));
    EXPECT_EQ(property(column(u"T", u"When"), u"Default"), Variant(u"Now( )"));
    EXPECT_EQ(property(column(u"T", u"Day"), u"Default"), Variant(u"#1/1/2000#"));
    EXPECT_EQ(property(column(u"T", u"Qty"), u"Default"), Variant(u"-1"));
    auto plain = column(u"T", u"Plain");
    EXPECT_TRUE(property(plain, u"Default").isEmpty());
    EXPECT_EQ(property(plain, u"Jet OLEDB:Compressed UniCode Strings"), Variant(false));
    EXPECT_EQ(property(plain, u"Jet OLEDB:Column Validation Rule"), Variant(u""));
    EXPECT_EQ(plain->attributes(), adox::columnNullable);
}

TEST_F(CreateTable, InlineAndTableConstraintsMakeTheirIndexes) {
    exec(u"CREATE TABLE [Parent] ([Id] LONG CONSTRAINT [PK_Parent] PRIMARY KEY, "
         u"[Code] TEXT(10) UNIQUE, [A] LONG, [B] LONG, "
         u"CONSTRAINT [UQ_AB] UNIQUE ([A], [B]))");
    exec(u"CREATE TABLE [Child] ([Id] LONG, [ParentId] LONG NOT NULL, "
         u"CONSTRAINT [PK_Child] PRIMARY KEY ([Id]), "
         u"CONSTRAINT [FK_Parent] FOREIGN KEY ([ParentId]) REFERENCES [Parent] ([Id]) "
         u"ON UPDATE CASCADE ON DELETE CASCADE)");
    reopen();
    auto indexes = table(u"Parent")->indexes();
    ASSERT_EQ(indexes->count(), 3);
    auto pk = indexes->item(u"PK_Parent");
    EXPECT_TRUE(pk->primaryKey());
    EXPECT_TRUE(pk->unique());
    EXPECT_EQ(pk->indexNulls(), adox::indexNullsDisallow);
    // The primary key does not change the column's own nullable attribute.
    EXPECT_EQ(column(u"Parent", u"Id")->attributes(), adox::columnNullable);
    auto code = indexes->item(1);
    EXPECT_FALSE(code->primaryKey());
    EXPECT_TRUE(code->unique());
    EXPECT_EQ(code->indexNulls(), adox::indexNullsAllow);
    EXPECT_EQ(code->columns()->item(0)->name(), u"Code");
    auto ab = indexes->item(u"UQ_AB")->columns();
    ASSERT_EQ(ab->count(), 2);
    EXPECT_EQ(ab->item(1)->name(), u"B");

    auto childIndexes = table(u"Child")->indexes();
    ASSERT_EQ(childIndexes->count(), 2);
    auto fkIndex = childIndexes->item(u"FK_Parent");
    EXPECT_FALSE(fkIndex->unique());
    EXPECT_EQ(fkIndex->columns()->item(0)->name(), u"ParentId");
    auto keys = table(u"Child")->keys();
    auto fk = keys->item(u"FK_Parent");
    EXPECT_EQ(fk->type(), adox::keyForeign);
    EXPECT_EQ(fk->relatedTable(), u"Parent");
    EXPECT_EQ(fk->updateRule(), adox::ruleCascade);
    EXPECT_EQ(fk->deleteRule(), adox::ruleCascade);
    EXPECT_EQ(fk->columns()->item(0)->relatedColumn(), u"Id");
    EXPECT_EQ(keys->item(u"PK_Child")->type(), adox::keyPrimary);
}

TEST_F(CreateTable, UnnamedConstraintsGetNamesOfTheirOwn) {
    exec(u"CREATE TABLE [P] ([Id] LONG PRIMARY KEY, [Code] TEXT(5) UNIQUE)");
    exec(u"CREATE TABLE [C] ([Id] LONG PRIMARY KEY, [PId] LONG REFERENCES [P])");
    auto p = table(u"P")->indexes();
    EXPECT_EQ(p->item(0)->name(), u"PrimaryKey");
    EXPECT_EQ(p->item(1)->name(), u"Code");
    auto relations = components()
                         .createDBEngine(daoClassId)
                         ->openDatabase(u16(path), {}, false, u"")
                         ->relations();
    ASSERT_EQ(relations->count(), 1);
    EXPECT_EQ(relations->item(0)->name(), u"PC");
    EXPECT_EQ(relations->item(0)->fields()->item(0)->name(), u"Id");
    EXPECT_EQ(relations->item(0)->fields()->item(0)->foreignName(), u"PId");
}

TEST_F(CreateTable, HandWrittenVariantsAreAccepted) {
    exec(u"  create   table\n Orders -- the orders\n ( /* key */ OrderId counter "
         u"constraint pk primary key, `Customer Name` varchar(40) not null, "
         u"Total money, Shipped yesno, Notes longtext with compression, "
         u"Amount numeric(10,2) default 0 ) ;  ");
    reopen();
    auto t = table(u"orders");
    EXPECT_EQ(t->name(), u"Orders");
    EXPECT_EQ(t->columns()->count(), 6);
    EXPECT_EQ(column(u"Orders", u"customer name")->definedSize(), 40);
    EXPECT_EQ(column(u"Orders", u"Total")->type(), 6);
    EXPECT_EQ(property(column(u"Orders", u"Amount"), u"Default"), Variant(u"0"));
    EXPECT_TRUE(t->indexes()->item(u"pk")->primaryKey());
}

TEST_F(CreateTable, BadStatementsFailWithTheEngineWording) {
    exec(u"CREATE TABLE [T] ([A] LONG)");
    std::string before = bytesOf(path);
    EXPECT_EQ(failure(u"CREATE TABLE [T] ([B] LONG)"), u"Table 'T' already exists.");
    EXPECT_EQ(failure(u"CREATE TABLE [t] ([B] LONG)"), u"Table 't' already exists.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG, [a] TEXT)"),
              u"Field 'a' already exists in table 'U'.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] WHATEVER)"), u"Syntax error in field definition.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] TEXT(300))"), u"Size of field 'A' is too long.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG"), u"Syntax error in CREATE TABLE statement.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ()"), u"Syntax error in field definition.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG) garbage"),
              u"Characters found after end of SQL statement.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG WITH COMPRESSION)"),
              u"Syntax error in field definition.");
    EXPECT_EQ(failure(u"CREATE TABLE [a.b] ([A] LONG)"),
              u"'a.b' is not a valid name. Make sure that it does not include invalid "
              u"characters or punctuation and that it is not too long.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG, CONSTRAINT [X] PRIMARY KEY ([B]))"),
              u"Field 'B' does not exist in table 'U'.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG PRIMARY KEY, [B] LONG PRIMARY KEY)"),
              u"Primary key already exists.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG REFERENCES [Nowhere])"),
              u"The database engine cannot find the input table or query 'Nowhere'. Make sure "
              u"it exists and that its name is spelled correctly.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG REFERENCES [T])"),
              u"No unique index found for the referenced field of the primary table.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] DECIMAL(40, 2))"),
              u"Invalid precision or scale for the decimal data type.");
    EXPECT_EQ(failure(u"CREATE TABLE [MSysObjects] ([A] LONG)"),
              u"Table 'MSysObjects' already exists.");
    EXPECT_EQ(failure(u"CREATE TABLE [U] ([A] LONG DEFAULT \"open)"),
              u"Syntax error in CREATE TABLE statement.");
    EXPECT_EQ(failure(u"SELCT * FROM T"),
              u"Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', "
              u"or 'UPDATE'.");
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

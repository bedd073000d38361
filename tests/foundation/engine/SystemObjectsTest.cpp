#include "EngineFixture.h"

#include "foundation/engine/Backends.h"
#include "foundation/engine/api/Codes.h"
#include "foundation/engine/embedded/EmbeddedSession.h"
#include "foundation/engine/embedded/Sqlite.h"
#include "foundation/engine/embedded/SystemObjects.h"

namespace enginetest {

namespace {

using Rows = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

Bytes bytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

} // namespace

// The system table on a real file, read with plain SQLite as any SQL would read it.
class SystemObjects : public EmbeddedDatabase {
protected:
    std::shared_ptr<embedded::EmbeddedSession> session() {
        OpenParameters parameters;
        parameters.path = u16(path);
        return std::dynamic_pointer_cast<embedded::EmbeddedSession>(openDatabase(parameters));
    }

    // Name|Type|Flags of the rows that are not constant, in name order.
    Rows objects() {
        return rows("SELECT Name, Type, Flags FROM MSysObjects WHERE Type NOT IN (2, 3) AND Name "
                    "<> 'MSysObjects' ORDER BY Name, Type");
    }

    void linkTable(const char16_t* name, const char16_t* sourceProperty, const char16_t* source) {
        auto table = components().createTable();
        table->setParentCatalog(catalog);
        table->setName(name);
        auto properties = table->properties();
        properties->item(u"Jet OLEDB:Create Link")->setValue(Variant(true));
        properties->item(sourceProperty)->setValue(Variant(source));
        properties->item(u"Jet OLEDB:Remote Table Name")->setValue(Variant(u"Remote"));
        catalog->tables()->append(table);
    }
};

TEST_F(SystemObjects, EveryKindOfObjectHasItsTypeAndFlags) {
    exec(u"CREATE TABLE [Plain] ([Id] LONG CONSTRAINT [PK] PRIMARY KEY)");
    exec(u"CREATE TABLE [Secret] ([Id] LONG, [PlainId] LONG)");
    exec(u"ALTER TABLE [Secret] ADD CONSTRAINT [SecretPlain] FOREIGN KEY ([PlainId]) REFERENCES "
         u"[Plain] ([Id])");
    exec(u"CREATE VIEW [AllPlain] AS SELECT * FROM [Plain]");
    exec(u"CREATE PROCEDURE [Purge] AS DELETE FROM [Plain]");
    table(u"Secret")
        ->properties()
        ->item(u"Jet OLEDB:Table Hidden In Access")
        ->setValue(Variant(true));
    linkTable(u"ToAccess", u"Jet OLEDB:Link Datasource", u"/data/other.accdb");
    linkTable(u"ToOdbc", u"Jet OLEDB:Link Provider String", u"ODBC;DSN=Sales");
    auto documents = session();
    documents->saveDocument(access::objectForm, u"Main", bytes("form"));
    documents->saveDocument(access::objectReport, u"Main", bytes("report"));
    documents->saveDocument(access::objectMacro, u"AutoExec", bytes("macro"));
    documents->saveDocument(access::objectModule, u"Helpers", bytes("module"));

    EXPECT_EQ(objects(), (Rows{"AllPlain|5|0", "AutoExec|-32766|0", "Helpers|-32761|0",
                               "Main|-32768|0", "Main|-32764|0", "Plain|1|0", "Purge|5|0",
                               "Secret|1|8", "SecretPlain|8|0", "ToAccess|6|0", "ToOdbc|4|0"}));
    EXPECT_EQ(rows("SELECT Type, Flags FROM MSysObjects WHERE Name = 'MSysObjects'"),
              (Rows{"1|-2147483648"}));
    // Names compare ignoring case, whichever catalog table the row comes from.
    EXPECT_EQ(rows("SELECT Type FROM MSysObjects WHERE Name IN ('allplain', 'MAIN', 'secretplain', "
                   "'msysobjects', 'TOACCESS', 'tables') ORDER BY Type"),
              (Rows{"-32768", "-32764", "1", "3", "5", "6", "8"}));
    EXPECT_EQ(rows("SELECT Name FROM MSysObjects WHERE Connect = 'odbc;dsn=SALES'"),
              (Rows{"ToOdbc"}));
    EXPECT_EQ(rows("SELECT Name FROM MSysObjects WHERE Type = 3 ORDER BY Name"),
              (Rows{"Databases", "Forms", "Modules", "Relationships", "Reports", "Scripts",
                    "SysRel", "Tables"}));
    EXPECT_EQ(rows("SELECT Name, Connect, Database, ForeignName FROM MSysObjects WHERE Type IN "
                   "(4, 6) ORDER BY Name"),
              (Rows{"ToAccess||/data/other.accdb|Remote", "ToOdbc|ODBC;DSN=Sales|NULL|Remote"}));
    // The system table is still the catalog's one system table.
    reopen();
    EXPECT_EQ(table(u"MSysObjects")->type(), u"SYSTEM TABLE");
    EXPECT_EQ(table(u"MSysObjects")->columns()->item(u"LvExtra")->type(), type::longVarBinary);
}

TEST_F(SystemObjects, RowsFollowEveryChangeAndNoFailedOne) {
    exec(u"CREATE TABLE [Orders] ([Id] LONG)");
    exec(u"CREATE TABLE [Lines] ([Id] LONG)");
    auto documents = session();
    documents->saveDocument(access::objectTableDataMacro, u"orders", bytes("<DataMacros/>"));
    documents->saveDocument(access::objectForm, u"Entry", bytes("f"));
    EXPECT_EQ(rows("SELECT Name, hex(LvExtra) FROM MSysObjects WHERE Type = 1 AND LvExtra IS "
                   "NOT NULL"),
              (Rows{"Orders|3C446174614D6163726F732F3E"}));

    // A change of the table's definition keeps its data macros.
    exec(u"ALTER TABLE [Orders] ADD COLUMN [Total] CURRENCY");
    table(u"Orders")
        ->properties()
        ->item(u"Jet OLEDB:Table Hidden In Access")
        ->setValue(Variant(true));
    EXPECT_EQ(rows("SELECT Flags, LvExtra IS NOT NULL FROM MSysObjects WHERE Name = 'Orders'"),
              (Rows{"8|1"}));

    std::string before = bytesOf(path);
    EXPECT_NE(failureOf([&] { exec(u"CREATE TABLE [Entry] ([A] LONG, [A] LONG)"); }), u"");
    EXPECT_NE(failureOf([&] { documents->saveDocument(access::objectForm, u"Bad.Name", {1}); }),
              u"");
    EXPECT_TRUE(bytesOf(path) == before) << "a failed change wrote to the file";

    exec(u"DROP TABLE [Orders]");
    EXPECT_TRUE(documents->removeDocument(access::objectForm, u"ENTRY"));
    EXPECT_EQ(objects(), (Rows{"Lines|1|0"}));
}

TEST_F(SystemObjects, WritesThroughSqlAreRefusedAsReadOnly) {
    connection->close();
    embedded::SqliteDatabase db(u16(path), false, false);
    embedded::protectSystemObjects(db);
    for (const char* sql : {
             "INSERT INTO MSysObjects (Name, Type) VALUES ('X', 1)",
             "UPDATE msysobjects SET Flags = 0",
             "DELETE FROM [MSysObjects]",
             "DROP VIEW MSysObjects",
             "CREATE TRIGGER T INSTEAD OF DELETE ON MSysObjects BEGIN SELECT 1; END",
         }) {
        SCOPED_TRACE(sql);
        try {
            db.exec(sql);
            ADD_FAILURE() << "the write went through";
        } catch (const EngineError& error) {
            EXPECT_EQ(error.description(), u"Cannot update. Database or object is read-only.");
        }
    }
    // Reading stays allowed, and so do writes of other tables.
    auto count = db.prepare("SELECT count(*) FROM MSysObjects WHERE Name = 'MSysObjects'");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 1);
    db.exec("UPDATE \"kel.info\" SET value = value WHERE key = 'schema_version'");
}

} // namespace enginetest

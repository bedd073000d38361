#include "EngineFixture.h"

#include <sys/stat.h>

namespace enginetest {

using Storage = EmbeddedDatabase;

// Every rebuilding statement keeps the rows, and a failing one leaves the file as it was.
TEST_F(Storage, RowsSurviveEveryRebuildingStatement) {
    exec(u"CREATE TABLE [P] ([Id] LONG CONSTRAINT [PK_P] PRIMARY KEY, [N] TEXT(10))");
    exec(u"CREATE TABLE [C] ([Id] LONG, [PId] LONG, [V] DOUBLE)");
    sqlite("INSERT INTO \"P\" VALUES (1, 'a'), (2, 'b');"
           "INSERT INTO \"C\" VALUES (10, 1, 1.5), (11, 2, 2.5), (12, NULL, NULL)");
    const std::u16string statements[] = {
        u"ALTER TABLE [C] ADD COLUMN [Extra] TEXT(5)",
        u"ALTER TABLE [C] ADD CONSTRAINT [PK_C] PRIMARY KEY ([Id])",
        u"ALTER TABLE [C] ADD CONSTRAINT [FK] FOREIGN KEY ([PId]) REFERENCES [P] ([Id]) "
        u"ON DELETE CASCADE",
        u"ALTER TABLE [C] ALTER COLUMN [V] CURRENCY",
        u"CREATE INDEX [IX_V] ON [C] ([V]) WITH DISALLOW NULL",
        u"ALTER TABLE [C] ADD CONSTRAINT [CK] CHECK ([V] > 0)",
        u"ALTER TABLE [C] DROP CONSTRAINT [CK]",
        u"ALTER TABLE [C] DROP CONSTRAINT [FK]",
        u"ALTER TABLE [C] DROP COLUMN [Extra]",
        u"ALTER TABLE [C] DROP CONSTRAINT [PK_C]",
        u"ALTER TABLE [P] ALTER COLUMN [N] MEMO",
    };
    for (const auto& sql : statements) {
        SCOPED_TRACE(text::toUtf8(sql));
        std::u16string error = failureOf([&] { exec(sql); });
        if (sql.find(u"DISALLOW") != std::u16string::npos) {
            EXPECT_EQ(error, u"Index or primary key cannot contain a Null value.");
        } else {
            EXPECT_EQ(error, u"");
        }
        EXPECT_EQ(rows("SELECT \"Id\", \"PId\", \"V\" FROM \"C\" ORDER BY 1"),
                  (std::vector<std::string>{"10|1|1.5", "11|2|2.5", "12|NULL|NULL"}));
        EXPECT_EQ(rows("SELECT * FROM \"P\" ORDER BY 1"), (std::vector<std::string>{"1|a", "2|b"}));
    }
}

TEST_F(Storage, RebuiltForeignKeysAreEnforcedAndCascade) {
    exec(u"CREATE TABLE [P] ([Id] LONG PRIMARY KEY)");
    exec(u"CREATE TABLE [C] ([Id] LONG, [PId] LONG)");
    sqlite("INSERT INTO \"P\" VALUES (1), (2); INSERT INTO \"C\" VALUES (10, 1), (11, 2)");
    exec(u"ALTER TABLE [C] ADD CONSTRAINT [FK] FOREIGN KEY ([PId]) REFERENCES [P] ON DELETE "
         u"CASCADE");
    // Rebuilding the referenced table must not cascade into the rows that reference it.
    exec(u"ALTER TABLE [P] ADD COLUMN [Name] TEXT(10)");
    EXPECT_EQ(rows("SELECT count(*) FROM \"C\"")[0], "2");
    sqlite("PRAGMA foreign_keys = ON; DELETE FROM \"P\" WHERE \"Id\" = 1");
    EXPECT_EQ(rows("SELECT \"Id\" FROM \"C\"")[0], "11");
}

TEST_F(Storage, TheFileCarriesTheApplicationIdAndFormatVersion) {
    EXPECT_EQ(rows("PRAGMA application_id")[0], std::to_string(0x4B454C56));
    EXPECT_EQ(rows("PRAGMA user_version")[0], "2");
    sqlite("PRAGMA user_version = 99");
    connection->close();
    auto reopened = components().createConnection();
    EXPECT_EQ(failureOf([&] { reopened->open(connectionString(u16(path)), u"", u"", -1); }),
              u"Unrecognized database format '" + u16(path) + u"'.");
}

TEST_F(Storage, AReadOnlyFileOpensButRefusesChanges) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    exec(u"CREATE TABLE [T] ([A] LONG)");
    connection->close();
    ::chmod(path.c_str(), 0444);
    std::string before = bytesOf(path);
    reopen();
    EXPECT_EQ(table(u"T")->columns()->count(), 1);
    EXPECT_EQ(failure(u"ALTER TABLE [T] ADD COLUMN [B] LONG"),
              u"Cannot update. Database or object is read-only.");
    EXPECT_TRUE(bytesOf(path) == before) << "the file changed";
    ::chmod(path.c_str(), 0644);
}

TEST_F(Storage, ALockedFileFailsClearlyAndStaysAsItWas) {
    exec(u"CREATE TABLE [T] ([A] LONG)");
    sqlite3* holder = nullptr;
    sqlite3_open(path.string().c_str(), &holder);
    sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    EXPECT_EQ(failure(u"ALTER TABLE [T] ADD COLUMN [B] LONG"),
              u"Could not use '" + u16(path) + u"'; file already in use.");
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(table(u"T")->columns()->count(), 1);
    exec(u"ALTER TABLE [T] ADD COLUMN [B] LONG");
}

TEST_F(Storage, SchemaChangesOfAnotherConnectionAreSeen) {
    auto other = components().createConnection();
    other->open(connectionString(u16(path)), u"", u"", -1);
    auto command = components().createCommand();
    command->setActiveConnection(other);
    command->setCommandText(u"CREATE TABLE [FromOther] ([A] LONG)");
    command->execute(nullptr, ado::executeNoRecords);
    EXPECT_EQ(table(u"FromOther")->columns()->count(), 1);
    other->close();
    EXPECT_EQ(failureOf([&] { command->execute(nullptr, 0); }),
              u"Operation is not allowed when the object is closed.");
}

class Password : public ::testing::Test {
protected:
    TempFolder folder;
    std::u16string path = u16(folder / "secret.mdb");

    std::u16string openWith(const std::u16string& password) {
        auto c = components().createConnection();
        return failureOf([&] { c->open(connectionString(path, password), u"", u"", -1); });
    }
};

TEST_F(Password, OnlyTheRightPasswordOpens) {
    components().createCatalog()->create(connectionString(path, u"Pa;ss=word"))->close();
    EXPECT_EQ(openWith(u"Pa;ss=word"), u"");
    EXPECT_EQ(openWith(u""), u"Not a valid password.");
    EXPECT_EQ(openWith(u"pa;ss=word"), u"Not a valid password.");
    // The password is not kept in the file as it was given.
    EXPECT_EQ(bytesOf(text::toUtf8(path)).find("Pa;ss=word"), std::string::npos);

    auto dbEngine = components().createDBEngine(daoProgId36);
    EXPECT_EQ(failureOf([&] { dbEngine->openDatabase(path, {}, false, u"MS Access;PWD=x"); }),
              u"Not a valid password.");
    EXPECT_EQ(failureOf([&] {
                  dbEngine->openDatabase(path, {}, false, u"MS Access;PWD=Pa;ss=word")->close();
              }),
              u"");
    try {
        auto c = components().createConnection();
        c->open(connectionString(path), u"", u"", -1);
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.status(), status::authentication);
    }
}

TEST_F(Password, ADatabaseWithoutOneOpensWithAny) {
    components().createCatalog()->create(connectionString(path))->close();
    EXPECT_EQ(openWith(u"anything"), u"");
}

TEST_F(Password, UsersOtherThanTheDefaultNeedAWorkgroup) {
    components().createCatalog()->create(connectionString(path))->close();
    auto c = components().createConnection();
    EXPECT_EQ(failureOf([&] {
                  c->open(u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + path +
                              u";User ID=bob;Password=x;",
                          u"", u"", -1);
              }),
              u"Not a valid account name or password.");
    EXPECT_EQ(failureOf([&] {
                  c->open(u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + path +
                              u";User ID=Admin;",
                          u"", u"", -1);
              }),
              u"");
}

} // namespace enginetest

namespace enginetest {

TEST_F(Storage, ADaoDatabaseOpenedReadOnlyRefusesChanges) {
    exec(u"CREATE TABLE [T] ([A] LONG)");
    auto db = components().createDBEngine(daoClassId)->openDatabase(u16(path), {}, true, u"");
    auto fields = db->tableDefs()->item(u"T")->fields();
    EXPECT_EQ(failureOf([&] { fields->item(u"A")->setDefaultValue(Variant(u"1")); }),
              u"Cannot update. Database or object is read-only.");
    EXPECT_EQ(failureOf([&] { fields->remove(u"A"); }),
              u"Cannot update. Database or object is read-only.");
    db->close();
    EXPECT_EQ(failureOf([&] { db->tableDefs(); }),
              u"Operation is not allowed when the object is closed.");
}

TEST_F(Storage, ADamagedFileIsUnrecognized) {
    exec(u"CREATE TABLE [T] ([A] LONG)");
    connection->close();
    std::string bytes = bytesOf(path);
    for (std::size_t i = 200; i < bytes.size(); i += 7)
        bytes[i] = char(i * 31);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    auto damaged = components().createConnection();
    std::u16string failure = failureOf([&] {
        damaged->open(connectionString(u16(path)), u"", u"", -1);
        components().createCatalog()->setActiveConnection(damaged);
        catalog->setActiveConnection(damaged);
        catalog->tables()->count();
    });
    EXPECT_EQ(failure, u"Unrecognized database format '" + u16(path) + u"'.");
}

} // namespace enginetest

namespace enginetest {

TEST_F(Storage, ADamagedCatalogRowIsUnrecognizedNotACrash) {
    exec(u"CREATE TABLE [T] ([A] LONG, [B] TEXT(5))");
    for (const char* damage : {"substr(definition, 1, length(definition) - 3)", "x'ff'",
                               "definition || x'00'", "x'02418080808080808080808001'"}) {
        SCOPED_TRACE(damage);
        sqlite(std::string("UPDATE \"kel.tables\" SET definition = ") + damage);
        EXPECT_EQ(failureOf([&] { catalog->tables()->count(); }),
                  u"Unrecognized database format '" + u16(path) + u"'.");
        EXPECT_EQ(failure(u"ALTER TABLE [T] ADD COLUMN [C] LONG"),
                  u"Unrecognized database format '" + u16(path) + u"'.");
    }
}

} // namespace enginetest

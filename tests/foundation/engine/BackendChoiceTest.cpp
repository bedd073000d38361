#include "EngineFixture.h"

#include <sqlite3.h>

namespace enginetest {

namespace {

std::u16string openFailure(const std::u16string& connection) {
    auto c = components().createConnection();
    return failureOf([&] { c->open(connection, u"", u"", -1); });
}

std::u16string dataDir() {
    return text::fromUtf8(KEL_ACCESS_DATA_DIR);
}

} // namespace

TEST(BackendChoice, MissingFileIsNotFound) {
    TempFolder folder;
    std::u16string path = u16(folder / "none.mdb");
    EXPECT_EQ(openFailure(connectionString(path)), u"Could not find file '" + path + u"'.");
}

TEST(BackendChoice, FilesOfOtherFormatsAreUnrecognized) {
    TempFolder folder;
    std::ofstream(folder / "text.mdb") << "not a database at all";
    std::u16string text = u16(folder / "text.mdb");
    EXPECT_EQ(openFailure(connectionString(text)),
              u"Unrecognized database format '" + text + u"'.");

    // A SQLite file without the engine's application id is somebody else's database.
    std::string plain = (folder / "plain.db").string();
    sqlite3* db = nullptr;
    sqlite3_open(plain.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE t (x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    std::string before = bytesOf(plain);
    EXPECT_EQ(openFailure(connectionString(text::fromUtf8(plain))),
              u"Unrecognized database format '" + text::fromUtf8(plain) + u"'.");
    EXPECT_TRUE(bytesOf(plain) == before) << "the file changed";

    EXPECT_EQ(openFailure(connectionString(u16(folder / "."))),
              u"Unrecognized database format '" + u16(folder / ".") + u"'.");
}

// Jet 3, Jet 4 and ACE files open through the Access-file backend, whatever provider the
// connection string names. The shared files have no write permission: they read, refuse every
// change as read only and are never written (writable copies are tested in
// tests/foundation/mdbfile/WritableFileTest.cpp).
TEST(BackendChoice, AccessFilesOpenReadOnly) {
    const std::pair<const char16_t*, const char16_t*> files[] = {
        {u"/testV1997.mdb", u"Microsoft.Jet.OLEDB.4.0"},
        {u"/testV2003.mdb", u"Microsoft.ACE.OLEDB.12.0"},
        {u"/testV2010.accdb", u"Microsoft.ACE.OLEDB.14.0"},
    };
    for (const auto& [name, provider] : files) {
        SCOPED_TRACE(text::toUtf8(name));
        std::u16string path = dataDir() + name;
        std::string before = bytesOf(text::toUtf8(path));
        auto connection = components().createConnection();
        ASSERT_EQ(failureOf([&] {
                      connection->open(u"Provider=" + std::u16string(provider) + u";Data Source=" +
                                           path + u";",
                                       u"", u"", -1);
                  }),
                  u"");
        auto catalog = components().createCatalog();
        catalog->setActiveConnection(connection);
        auto tables = catalog->tables();
        ASSERT_GT(tables->count(), 0);
        EXPECT_EQ(tables->item(u"Table1")->type(), u"TABLE");
        EXPECT_EQ(tables->item(u"MSysObjects")->type(), u"SYSTEM TABLE");
        EXPECT_GT(tables->item(u"Table1")->columns()->count(), 0);

        EXPECT_EQ(failureOf([&] { connection->execute(u"DROP TABLE Table1", {}, nullptr); }),
                  errors::readOnly().description());
        EXPECT_EQ(
            failureOf([&] { connection->execute(u"CREATE TABLE Fresh (x LONG)", {}, nullptr); }),
            errors::readOnly().description());
        auto rows = connection->execute(u"SELECT Name FROM MSysObjects WHERE Type=1", {}, nullptr);
        ASSERT_TRUE(rows);
        EXPECT_FALSE(rows->eof());
        connection->close();
        EXPECT_TRUE(bytesOf(text::toUtf8(path)) == before) << "the file changed";
    }
}

TEST(BackendChoice, UnknownProviderFails) {
    EXPECT_EQ(openFailure(u"Provider=SQLOLEDB;Data Source=x;"),
              u"Provider cannot be found. It may not be properly installed.");
}

TEST(BackendChoice, TheExtensionMeansNothing) {
    TempFolder folder;
    for (const char* name : {"a.mdb", "b.accdb", "c.whatever", "d"}) {
        std::u16string path = u16(folder / name);
        auto catalog = components().createCatalog();
        EXPECT_EQ(failureOf([&] { catalog->create(connectionString(path))->close(); }), u"");
        EXPECT_EQ(openFailure(connectionString(path)), u"");
    }
}

TEST(BackendChoice, CreateRefusesAnExistingFileAndAMissingFolder) {
    TempFolder folder;
    std::ofstream(folder / "exists.mdb") << "keep me";
    auto catalog = components().createCatalog();
    EXPECT_EQ(failureOf([&] { catalog->create(connectionString(u16(folder / "exists.mdb"))); }),
              u"Database already exists.");
    EXPECT_EQ(bytesOf(folder / "exists.mdb"), "keep me");
    std::u16string missing = u16(folder / "no" / "x.mdb");
    EXPECT_NE(
        failureOf([&] { catalog->create(connectionString(missing)); }).find(u"not a valid path"),
        std::u16string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

} // namespace enginetest

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

TEST(BackendChoice, AccessFilesFailClearlyUntilTheirBackendArrives) {
    for (const char16_t* name : {u"/testV2010.accdb", u"/testV1997.mdb"}) {
        std::u16string path = dataDir() + name;
        std::string before = bytesOf(text::toUtf8(path));
        std::u16string failure = openFailure(connectionString(path));
        EXPECT_NE(failure.find(u"Access database files"), std::u16string::npos)
            << text::toUtf8(failure);
        EXPECT_NE(failure.find(path), std::u16string::npos);
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

// Schema changes of Jet 4 and ACE files through the backend choice: what each supported
// statement leaves in the file (read back by our reader after reopening and by mdb-schema),
// what is refused and that a refusal or a failure leaves the file as it was.

#include "AccessFiles.h"
#include "EngineFailure.h"

#include "foundation/engine/Backends.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/jetfile/WorkingCopy.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace engine;
using mdbtest::failure;

namespace fs = std::filesystem;

namespace {

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

ino_t inodeOf(const fs::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_ino;
}

// What the command prints (both streams).
std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

std::string mdbSchema(const fs::path& file) {
    return commandOutput("mdb-schema '" + file.string() + "' access");
}

// A writable copy of an empty shared file in a folder of its own.
class WritableFile : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(test.begin(), test.end(), '/', '_');
        folder_ =
            fs::temp_directory_path() / ("kel-writable-" + std::to_string(::getpid()) + "-" + test);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        file_ = folder_ / ("db" + fs::path(GetParam()).extension().string());
        fs::copy_file(mdbtest::accessFile(GetParam()), file_);
        fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::shared_ptr<Session> open() {
        OpenParameters parameters;
        parameters.path = text::fromUtf8(file_.string());
        return openDatabase(parameters);
    }
    void run(Session& session, const std::u16string& sql) { session.execute(sql, {}, nullptr); }
    // The files beside the database: the working copy and the lock file while a session
    // writes.
    std::size_t filesInFolder() const {
        return std::size_t(std::distance(fs::directory_iterator(folder_), {}));
    }

    fs::path folder_;
    fs::path file_;
};

const catalog::Table& tableOf(Session& session, std::u16string_view name) {
    return mdbtest::table(*session.catalog(), name);
}

} // namespace

TEST_P(WritableFile, CreateTableWithTypesKeysAndIndexesReadsBackAfterClose) {
    const std::string original = bytesOf(file_);
    auto session = open();
    run(*session, u"CREATE TABLE [Orders] ([Id] COUNTER CONSTRAINT [PK] PRIMARY KEY, "
                  u"[Code] TEXT(20) NOT NULL, [Note] MEMO WITH COMPRESSION, [Qty] SHORT "
                  u"DEFAULT 1, [Price] CURRENCY, [When] DATETIME, [Done] YESNO, "
                  u"CONSTRAINT [UqCode] UNIQUE ([Code]))");
    run(*session, u"CREATE UNIQUE INDEX [ByWhen] ON [Orders] ([When] DESC) WITH DISALLOW NULL");
    run(*session, u"CREATE INDEX [ByQty] ON [Orders] ([Qty]) WITH IGNORE NULL");
    // The session reads its own changes, MSysObjects too; the file waits for close.
    EXPECT_EQ(tableOf(*session, u"Orders").indexes.size(), 4u);
    auto listed = session->execute(u"SELECT Name FROM MSysObjects WHERE Type = 1 AND Name = ?",
                                   {Variant(u"Orders")}, nullptr);
    ASSERT_FALSE(listed->eof());
    EXPECT_EQ(listed->fields()->item(u"Name")->value(), Variant(u"Orders"));
    EXPECT_EQ(bytesOf(file_), original);
    EXPECT_EQ(filesInFolder(), 3u); // the file, its working copy and its lock file
    const ino_t inode = inodeOf(file_);
    session->close();
    // Replaced whole by the verified copy, not written over in place.
    EXPECT_EQ(filesInFolder(), 1u);
    EXPECT_NE(inodeOf(file_), inode);
    EXPECT_NE(bytesOf(file_), original);

    auto reopened = open();
    const catalog::Table& orders = tableOf(*reopened, u"Orders");
    ASSERT_EQ(orders.columns.size(), 7u);
    const catalog::Column& id = mdbtest::column(orders, u"Id");
    EXPECT_TRUE(id.autoIncrement);
    EXPECT_EQ(id.type, type::integer);
    const catalog::Column& code = mdbtest::column(orders, u"Code");
    EXPECT_EQ(code.type, type::varWChar);
    EXPECT_EQ(code.size, 20);
    EXPECT_FALSE(code.nullable);
    EXPECT_TRUE(mdbtest::column(orders, u"Note").compressed);
    EXPECT_EQ(mdbtest::column(orders, u"Qty").defaultValue, std::optional<std::u16string>(u"1"));
    EXPECT_EQ(mdbtest::column(orders, u"Price").type, type::currency);
    EXPECT_TRUE(mdbtest::index(orders, u"PK").primary);
    EXPECT_TRUE(mdbtest::index(orders, u"UqCode").unique);
    const catalog::Index& byWhen = mdbtest::index(orders, u"ByWhen");
    EXPECT_TRUE(byWhen.unique);
    EXPECT_EQ(byWhen.nulls, adox::indexNullsDisallow);
    ASSERT_EQ(byWhen.columns.size(), 1u);
    EXPECT_TRUE(byWhen.columns[0].descending);
    EXPECT_EQ(mdbtest::index(orders, u"ByQty").nulls, adox::indexNullsIgnore);
    reopened->close();

    std::string schema = mdbSchema(file_);
    EXPECT_NE(schema.find("CREATE TABLE [Orders]"), std::string::npos) << schema;
    EXPECT_NE(schema.find("[Code]\t\t\tText (20) NOT NULL"), std::string::npos) << schema;
}

TEST_P(WritableFile, AnAttachmentFieldOfAnAceFileReadsBackAndDropsWithItsValuesTable) {
    if (GetParam() == "emptyJet4.mdb")
        GTEST_SKIP() << "Jet 4 files have no attachment fields";
    const std::string tablesBefore = commandOutput("mdb-tables -S -1 '" + file_.string() + "'");
    auto session = open();
    run(*session, u"CREATE TABLE [T] ([A] LONG)");
    catalog::Column files;
    files.name = u"Files";
    files.type = engine::type::attachment;
    session->appendColumn(u"T", files);
    EXPECT_EQ(mdbtest::column(tableOf(*session, u"T"), u"Files").type, type::attachment);
    session->close();

    auto reopened = open();
    const catalog::Table& t = tableOf(*reopened, u"T");
    ASSERT_EQ(t.columns.size(), 2u);
    EXPECT_EQ(mdbtest::column(t, u"Files").type, type::attachment);
    EXPECT_TRUE(t.indexes.empty()) << "the index Access keeps on the field is not listed";
    run(*reopened, u"ALTER TABLE [T] DROP COLUMN [Files]");
    reopened->close();
    std::string tables = commandOutput("mdb-tables -S -1 '" + file_.string() + "'");
    EXPECT_EQ(tables, tablesBefore + "T\n") << "no values table is left";
}

TEST_P(WritableFile, AlterTableAndDropStatementsKeepTheRestOfTheTable) {
    auto session = open();
    run(*session, u"CREATE TABLE [T] ([A] LONG, [B] TEXT(10), [C] DOUBLE)");
    run(*session, u"CREATE TABLE [Gone] ([X] LONG)");
    run(*session, u"ALTER TABLE [T] ADD COLUMN [D] DATETIME NOT NULL");
    run(*session, u"ALTER TABLE [T] DROP COLUMN [C]");
    run(*session, u"ALTER TABLE [T] ADD CONSTRAINT [PK] PRIMARY KEY ([A])");
    run(*session, u"ALTER TABLE [T] ADD CONSTRAINT [UB] UNIQUE ([B])");
    run(*session, u"CREATE INDEX [ByD] ON [T] ([D])");
    run(*session, u"ALTER TABLE [T] DROP CONSTRAINT [UB]");
    run(*session, u"DROP INDEX [ByD] ON [T]");
    run(*session, u"DROP TABLE [Gone]");
    // The engine's own checks and messages, as on an embedded database.
    EXPECT_EQ(failure([&] { run(*session, u"ALTER TABLE [T] DROP COLUMN [A]"); }),
              u"Cannot delete a field that is part of an index or is needed by the system.");
    EXPECT_EQ(failure([&] { run(*session, u"CREATE TABLE [t] ([Z] LONG)"); }),
              u"Table 't' already exists.");
    session->close();

    auto reopened = open();
    EXPECT_EQ(reopened->catalog()->findTable(u"Gone"), nullptr);
    const catalog::Table& t = tableOf(*reopened, u"T");
    std::vector<std::u16string> columns;
    for (const catalog::Column& column : t.columns)
        columns.push_back(column.name);
    EXPECT_EQ(columns, (std::vector<std::u16string>{u"A", u"B", u"D"}));
    EXPECT_FALSE(mdbtest::column(t, u"D").nullable);
    ASSERT_EQ(t.indexes.size(), 1u);
    EXPECT_TRUE(t.indexes[0].primary);
    EXPECT_EQ(t.indexes[0].name, u"PK");
    reopened->close();
    std::string schema = mdbSchema(file_);
    EXPECT_EQ(schema.find("[Gone]"), std::string::npos) << schema;
    EXPECT_NE(schema.find("[D]\t\t\tDateTime NOT NULL"), std::string::npos) << schema;
    EXPECT_EQ(schema.find("[C]\t"), std::string::npos) << schema;
}

TEST_P(WritableFile, ColumnAndTablePropertiesOfTheObjectModel) {
    auto session = open();
    run(*session, u"CREATE TABLE [T] ([A] LONG, [B] TEXT(50))");
    catalog::Column b = mdbtest::column(tableOf(*session, u"T"), u"B");
    b.defaultValue = u"\"none\"";
    b.nullable = false;
    b.allowZeroLength = true;
    b.validationRule = u"<> \"x\"";
    b.validationText = u"not x";
    b.properties = {{u"Format", daotype::text, Variant(u">")},
                    {u"Caption", daotype::text, Variant(u"Bee")},
                    {u"Description", daotype::text, Variant(u"the B")}};
    session->alterColumn(u"T", u"B", b);
    catalog::Column a = mdbtest::column(tableOf(*session, u"T"), u"A");
    a.properties = {{u"DecimalPlaces", daotype::byte, Variant(std::uint8_t(2))}};
    session->alterColumn(u"T", u"A", a);
    catalog::Table settings = tableOf(*session, u"T");
    settings.validationRule = u"[A] > 0";
    settings.validationText = u"A must be positive";
    session->alterTable(u"T", settings);
    catalog::Column extra;
    extra.name = u"C";
    extra.type = type::doubleType;
    session->appendColumn(u"T", extra);
    session->dropColumn(u"T", u"C");
    session->close();

    auto reopened = open();
    const catalog::Table& t = tableOf(*reopened, u"T");
    const catalog::Column& readB = mdbtest::column(t, u"B");
    EXPECT_EQ(readB.defaultValue, std::optional<std::u16string>(u"\"none\""));
    EXPECT_FALSE(readB.nullable);
    EXPECT_TRUE(readB.allowZeroLength);
    EXPECT_EQ(readB.validationRule, u"<> \"x\"");
    EXPECT_EQ(readB.validationText, u"not x");
    for (std::u16string_view name : {u"Format", u"Caption", u"Description"})
        EXPECT_NE(readB.findProperty(name), nullptr) << text::toUtf8(name);
    ASSERT_NE(readB.findProperty(u"Caption"), nullptr);
    EXPECT_EQ(readB.findProperty(u"Caption")->value, Variant(u"Bee"));
    EXPECT_NE(mdbtest::column(t, u"A").findProperty(u"DecimalPlaces"), nullptr);
    EXPECT_EQ(t.validationRule, u"[A] > 0");
    EXPECT_EQ(t.validationText, u"A must be positive");
    EXPECT_EQ(t.findColumn(u"C"), nullptr);
}

TEST_P(WritableFile, RefusedChangesNameTheStatementAndLeaveTheFileAsItWas) {
    {
        auto session = open();
        run(*session, u"CREATE TABLE [P] ([Id] LONG CONSTRAINT [PK] PRIMARY KEY, [N] TEXT(9))");
        session->close();
    }
    const std::string before = bytesOf(file_);
    const auto modified = fs::last_write_time(file_);
    auto session = open();
    const std::pair<std::u16string, std::u16string> refused[] = {
        {u"ALTER TABLE [P] ALTER COLUMN [N] TEXT(20)", u"ALTER COLUMN"},
        {u"CREATE VIEW [V] AS SELECT * FROM [P]", u"CREATE VIEW"},
        {u"CREATE PROCEDURE [Q] AS DELETE FROM [P]", u"CREATE PROCEDURE"},
        {u"DROP VIEW [V]", u"DROP VIEW"},
        {u"CREATE TABLE [C] ([Id] LONG REFERENCES [P] ([Id]))",
         u"CREATE TABLE with a FOREIGN KEY constraint"},
        {u"CREATE TABLE [C] ([Id] LONG, CONSTRAINT [K] CHECK ([Id] > 0))",
         u"CREATE TABLE with a CHECK constraint"},
        {u"ALTER TABLE [P] ADD CONSTRAINT [K] CHECK ([Id] > 0)",
         u"ALTER TABLE ADD CONSTRAINT with a CHECK constraint"},
        {u"ALTER TABLE [P] ADD COLUMN [R] LONG REFERENCES [P] ([Id])",
         u"ALTER TABLE ADD COLUMN with a FOREIGN KEY constraint"},
        {u"INSERT INTO [P] ([Id]) VALUES (1)", u"INSERT"},
        {u"UPDATE [P] SET [N] = 'x'", u"UPDATE"},
        {u"DELETE FROM [P]", u"DELETE"},
        {u"SELECT [Id] INTO [Copy] FROM [P]", u"SELECT ... INTO"},
        {u"SELECT * FROM [P]", u"SELECT of a table's rows"},
        {u"SELECT 1 + 1", u"This form of SELECT"},
    };
    for (const auto& [sql, what] : refused)
        EXPECT_EQ(failure([&] { run(*session, sql); }),
                  what + u" is not supported on Access files yet.")
            << text::toUtf8(sql);
    catalog::Column n = mdbtest::column(tableOf(*session, u"P"), u"N");
    n.name = u"Renamed";
    EXPECT_EQ(failure([&] { session->alterColumn(u"P", u"N", n); }),
              u"Renaming a column is not supported on Access files yet.");
    n = mdbtest::column(tableOf(*session, u"P"), u"N");
    n.size = 40;
    EXPECT_EQ(failure([&] { session->alterColumn(u"P", u"N", n); }),
              u"Changing the type of a column is not supported on Access files yet.");
    EXPECT_EQ(failure([&] { session->appendRelation({}); }),
              u"A relationship is not supported on Access files yet.");
    EXPECT_EQ(failure([&] { session->appendQuery(u"Q", u"SELECT 1"); }),
              u"A saved query is not supported on Access files yet.");
    catalog::Column complex;
    complex.name = u"Files";
    complex.type = engine::type::attachment;
    if (GetParam() == "emptyJet4.mdb") {
        EXPECT_EQ(failure([&] { session->appendColumn(u"P", complex); }),
                  u"An attachment or multi-valued field is not supported on Access files yet.");
    }
    complex.type = engine::type::integer;
    complex.multiValueType = engine::type::integer;
    EXPECT_EQ(failure([&] { session->appendColumn(u"P", complex); }),
              u"An attachment or multi-valued field is not supported on Access files yet.");
    catalog::Table link;
    link.name = u"L";
    link.kind = catalog::TableKind::AccessLink;
    EXPECT_EQ(failure([&] { session->appendTable(link); }),
              u"A linked table is not supported on Access files yet.");
    // MSysObjects still answers.
    EXPECT_TRUE(session->execute(u"SELECT Name FROM MSysObjects WHERE Name = 'P'", {}, nullptr)
                    ->fields()
                    ->count() > 0);
    session->close();
    EXPECT_EQ(bytesOf(file_), before);
    EXPECT_EQ(fs::last_write_time(file_), modified);
}

TEST_P(WritableFile, TransactionsCommitTogetherAndRollBackWhole) {
    auto session = open();
    session->beginTransaction();
    run(*session, u"CREATE TABLE [A] ([X] LONG)");
    // A failed statement inside undoes itself only.
    EXPECT_EQ(failure([&] { run(*session, u"CREATE TABLE [a] ([X] LONG)"); }),
              u"Table 'a' already exists.");
    run(*session, u"CREATE INDEX [ByX] ON [A] ([X])");
    EXPECT_NE(session->catalog()->findTable(u"A"), nullptr);
    session->rollbackTransaction();
    EXPECT_EQ(session->catalog()->findTable(u"A"), nullptr);

    session->beginTransaction();
    run(*session, u"CREATE TABLE [B] ([X] LONG)");
    EXPECT_EQ(failure([&] { run(*session, u"ALTER TABLE [B] ALTER COLUMN [X] TEXT"); }),
              u"ALTER COLUMN is not supported on Access files yet.");
    run(*session, u"CREATE INDEX [ByX] ON [B] ([X])");
    session->commitTransaction();
    session->close();

    auto reopened = open();
    EXPECT_EQ(reopened->catalog()->findTable(u"A"), nullptr);
    EXPECT_NE(mdbtest::table(*reopened->catalog(), u"B").findIndex(u"ByX"), nullptr);
}

TEST_P(WritableFile, WithoutCloseTheFileStaysAsItWas) {
    const std::string before = bytesOf(file_);
    {
        auto session = open();
        run(*session, u"CREATE TABLE [T] ([X] LONG)");
    }
    EXPECT_EQ(bytesOf(file_), before);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_P(WritableFile, ALockHeldByAnotherProgramRefusesTheFirstChange) {
    fs::path lock = jetfile::WorkingCopy::lockFileOf(file_);
    std::ofstream(lock).put('x');
    const std::string before = bytesOf(file_);
    int fd = ::open(lock.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    pid_t child = ::fork();
    if (child == 0) { // holds the lock on behalf of "another program"
        ::sleep(30);
        ::_exit(0);
    }
    ::close(fd);
    auto session = open(); // reading is fine
    EXPECT_NE(session->catalog()->findTable(u"MSysObjects"), nullptr);
    EXPECT_EQ(failure([&] { run(*session, u"CREATE TABLE [T] ([X] LONG)"); }),
              u"Could not use '" + text::fromUtf8(file_.string()) + u"'; file already in use.");
    session->close();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(bytesOf(file_), before);
}

// Two sessions of one file in this program, as the runner's ADO connection and DAO database
// are: each sees what the other changed, and the file takes both changes when the last closes.
TEST_P(WritableFile, SessionsOfOneFileShareTheirChanges) {
    const std::string before = bytesOf(file_);
    auto first = open();
    auto second = open();
    run(*first, u"CREATE TABLE [First] ([X] LONG)");
    ASSERT_NE(second->catalog()->findTable(u"First"), nullptr);
    run(*second, u"ALTER TABLE [First] ADD COLUMN [Y] TEXT(10)");
    run(*second, u"CREATE TABLE [Second] ([X] LONG)");
    EXPECT_NE(tableOf(*first, u"First").findColumn(u"Y"), nullptr);
    first->close();
    EXPECT_EQ(bytesOf(file_), before); // the second session still has it open
    second->close();
    auto reread = open();
    EXPECT_NE(tableOf(*reread, u"First").findColumn(u"Y"), nullptr);
    EXPECT_NE(reread->catalog()->findTable(u"Second"), nullptr);
    reread->close();
    EXPECT_EQ(filesInFolder(), 1u); // no copy and no lock file left
}

INSTANTIATE_TEST_SUITE_P(EmptyFiles, WritableFile,
                         ::testing::Values("emptyJet4.mdb", "empty2010.accdb"),
                         [](const auto& info) {
                             return info.param == "emptyJet4.mdb" ? std::string("Jet4")
                                                                  : std::string("Ace");
                         });

// Jet 3 files and files without write permission stay read only.
TEST(ReadOnlyAccessFile, Jet3AndUnwritableFilesRefuseChangesAsReadOnly) {
    fs::path folder = fs::temp_directory_path() / ("kel-readonly-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const char* name : {"testV1997.mdb", "emptyJet4.mdb"}) {
        fs::path copy = folder / name;
        fs::copy_file(mdbtest::accessFile(name), copy, fs::copy_options::overwrite_existing);
        bool jet3 = std::string(name) == "testV1997.mdb";
        fs::permissions(copy, jet3 ? fs::perms::owner_read | fs::perms::owner_write
                                   : fs::perms::owner_read);
        const std::string before = bytesOf(copy);
        OpenParameters parameters;
        parameters.path = text::fromUtf8(copy.string());
        auto session = openDatabase(parameters);
        EXPECT_EQ(failure([&] { session->execute(u"CREATE TABLE [T] ([X] LONG)", {}, nullptr); }),
                  errors::readOnly().description())
            << name;
        session->close();
        EXPECT_EQ(bytesOf(copy), before) << name;
    }
    fs::remove_all(folder);
}

// A file Access wrote, with rows: a new column and a new index keep every row, as mdb-export
// reads them.
TEST(WritableAccessFile, ChangesOfATableWithRowsKeepItsRows) {
    fs::path folder = fs::temp_directory_path() / ("kel-rows-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const char* name : {"testV2003.mdb", "testV2010.accdb"}) {
        SCOPED_TRACE(name);
        fs::path copy = folder / name;
        fs::copy_file(mdbtest::accessFile(name), copy, fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
        auto exported = [&] { return commandOutput("mdb-export '" + copy.string() + "' Table1"); };
        const std::string before = exported();
        OpenParameters parameters;
        parameters.path = text::fromUtf8(copy.string());
        auto session = openDatabase(parameters);
        session->execute(u"ALTER TABLE [Table1] ADD COLUMN [Z] TEXT(10)", {}, nullptr);
        session->execute(u"CREATE INDEX [ByA] ON [Table1] ([A])", {}, nullptr);
        session->close();

        const std::string after = exported();
        ASSERT_EQ(std::count(after.begin(), after.end(), '\n'), 3) << after;
        EXPECT_EQ(after.substr(0, after.find('\n')), "A,B,C,D,E,F,G,H,I,Z");
        // Each row as it was, with an empty Z.
        EXPECT_NE(after.find("\"abcdefg\",\"hijklmnop\",2,222,333333333,444.555"),
                  std::string::npos)
            << after;
        EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), 3);
        auto reopened = openDatabase(parameters);
        EXPECT_NE(mdbtest::table(*reopened->catalog(), u"Table1").findIndex(u"ByA"), nullptr);
    }
    fs::remove_all(folder);
}

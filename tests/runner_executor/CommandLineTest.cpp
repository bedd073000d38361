// The kelrun program run from the command line: exit codes, where the report goes, creating
// the database, and bad input that must leave the database as the good commands left it.

#include "Capabilities.h"
#include "ExecutorFixture.h"

#include <algorithm>
#include <fstream>
#include <sys/wait.h>

using namespace executortest;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string quoted(const std::string& word) {
    std::string result = "'";
    for (char c : word)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

class CommandLineTest : public ::testing::Test {
protected:
    // Runs kelrun in the test's folder (where "kelrun.log" goes) with these words.
    Outcome kelrun(const std::vector<std::string>& words) {
        std::string command = "cd " + quoted(folder_.string()) + " && " KEL_BIN_DIR "/kelrun";
        for (const std::string& word : words)
            command += " " + quoted(word);
        command += " >" + quoted((scratch / "out").string()) + " 2>" +
                   quoted((scratch / "err").string()) + " </dev/null";
        int status = std::system(command.c_str());
        Outcome outcome;
        if (WIFEXITED(status))
            outcome.exitCode = WEXITSTATUS(status);
        outcome.out = bytesOf(scratch / "out");
        outcome.err = bytesOf(scratch / "err");
        return outcome;
    }

    std::string path(std::string_view name) const { return (folder_ / name).string(); }

    std::string script(std::string_view name, std::string_view text) const {
        writeFile(folder_ / name, text);
        return path(name);
    }

    // An embedded database made by kelrun itself from a UTF-8 script.
    std::string database(std::string_view name, std::string_view statements) {
        std::string sql = script("setup.sql", "\xEF\xBB\xBF" + std::string(statements));
        Outcome outcome = kelrun({sql, path(name), "/c", "/e"});
        EXPECT_EQ(outcome.exitCode, 1) << outcome.out;
        return path(name);
    }

    std::string log() const { return bytesOf(folder_ / "kelrun.log"); }

    // The local tables of a database, in the catalog's order.
    std::vector<std::string> tableNames(const std::string& databasePath) {
        database::DatabaseDescription description;
        description.path = text::fromUtf8(databasePath);
        database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
        std::vector<std::string> names;
        auto tables = connection.adoxCatalog()->tables();
        for (int i = 0; i < tables->count(); ++i) {
            if (tables->item(i)->type() == u"TABLE")
                names.push_back(u8(tables->item(i)->name()));
        }
        return names;
    }

    TempFolder folder;
    TempFolder scratchFolder;
    const std::filesystem::path& folder_ = folder.path();
    const std::filesystem::path& scratch = scratchFolder.path();
};

const std::string failingScript = "CREATE TABLE [A] ([Id] LONG);\n"
                                  "CREATE TABLE [A] ([Id] LONG);\n"
                                  "CREATE TABLE [B] ([Id] LONG);\n";

const std::string failingReport = "2\tCREATE TABLE [A] ([Id] LONG)\r\n\r\n"
                                  "Error: Table 'A' already exists.\r\n\r\n"
                                  "Command(s) completed successfully: 1\r\nError(s): 1\r\n";

} // namespace

TEST_F(CommandLineTest, SuccessfulRunShowsNothingAndExitsWithOne) {
    std::string db = database("shop.mdb", "CREATE TABLE [Old] ([Id] LONG);");
    Outcome outcome =
        kelrun({script("s.sql", "CREATE TABLE [New] ([Id] LONG);\n"), db, "/e", "/ef"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "kelrun.log"));
    EXPECT_EQ(tableNames(db), (std::vector<std::string>{"New", "Old"}));
}

TEST_F(CommandLineTest, FailureGoesToConsoleAndLogTogether) {
    std::string db = database("shop.mdb", "");
    Outcome outcome = kelrun({script("s.sql", failingScript), db, "/e", "/ef"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, failingReport);
    EXPECT_EQ(log(), failingReport + "\r\n");
    // Stopped at the failure: the table after it was never made.
    EXPECT_EQ(tableNames(db), std::vector<std::string>{"A"});

    // The log is appended to.
    kelrun({script("s.sql", failingScript), db, "/EF"});
    EXPECT_EQ(log(), failingReport + "\r\n" +
                         "1\tCREATE TABLE [A] ([Id] LONG)\r\n\r\n"
                         "Error: Table 'A' already exists.\r\n\r\nError(s): 1\r\n\r\n");
}

TEST_F(CommandLineTest, FailureWithoutConsoleOrLogShowsTheErrorBox) {
    std::string db = database("shop.mdb", "");
    Outcome outcome = kelrun({script("s.sql", failingScript), db});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "Error: " + failingReport + "\n");
}

TEST_F(CommandLineTest, OptionsInAnyCaseAndIgnoreErrorsRunsEverything) {
    std::string db = database("shop.mdb", "");
    Outcome outcome = kelrun({script("s.sql", failingScript), db, "/IE", "/E"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "2\tCREATE TABLE [A] ([Id] LONG)\r\n\r\n"
                           "Error: Table 'A' already exists.\r\n\r\n"
                           "Command(s) completed successfully: 2\r\nError(s): 1\r\n");
    EXPECT_EQ(tableNames(db), (std::vector<std::string>{"A", "B"}));
}

TEST_F(CommandLineTest, LogKeepsNamesInAnyScriptAsUtf8) {
    std::string db = database("shop.mdb", "CREATE TABLE [Ящик] ([Id] LONG);");
    kelrun({script("s.sql", "\xEF\xBB\xBF"
                            "CREATE TABLE [Ящик] ([Id] LONG);\n"),
            db, "/ef"});
    EXPECT_EQ(log(), "1\tCREATE TABLE [Ящик] ([Id] LONG)\r\n\r\nError: Table 'Ящик' already "
                     "exists.\r\n\r\nError(s): 1\r\n\r\n");
}

TEST_F(CommandLineTest, CreateWithOverwriteReplacesTheOldFile) {
    std::string db = database("shop.mdb", "CREATE TABLE [Old] ([Id] LONG);");
    Outcome outcome =
        kelrun({script("s.sql", "CREATE TABLE [New] ([Id] LONG);"), db, "/c", "/o", "/e"});
    EXPECT_EQ(outcome.exitCode, 1) << outcome.out;
    EXPECT_EQ(tableNames(db), std::vector<std::string>{"New"});
}

TEST_F(CommandLineTest, CreateOverAnExistingFileFailsAndRunsNothing) {
    std::string db = database("shop.mdb", "CREATE TABLE [Old] ([Id] LONG);");
    std::string before = bytesOf(db);
    Outcome outcome = kelrun({script("s.sql", "CREATE TABLE [New] ([Id] LONG);"), db, "/c", "/e"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.out.starts_with("\r\nError: ")) << outcome.out;
    EXPECT_GT(outcome.out.size(), std::string("\r\nError: ").size());
    EXPECT_EQ(bytesOf(db), before);
}

TEST_F(CommandLineTest, OverwriteNeverDeletesAFolder) {
    std::filesystem::create_directory(folder_ / "data.mdb");
    std::filesystem::path inside = folder_ / "data.mdb" / "keep.txt";
    writeFile(inside, "kept");
    Outcome outcome = kelrun(
        {script("s.sql", "CREATE TABLE [T] ([Id] LONG);"), path("data.mdb"), "/c", "/o", "/e"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.out.starts_with("\r\nError: ")) << outcome.out;
    EXPECT_EQ(bytesOf(inside), "kept");
}

TEST_F(CommandLineTest, CreateWithPasswordNeedsItToRun) {
    std::string sql = script("s.sql", "CREATE TABLE [T] ([Id] LONG);");
    EXPECT_EQ(kelrun({sql, path("locked.accdb"), "/c", "/p", "pw", "/e"}).exitCode, 1);
    Outcome refused = kelrun({sql, path("locked.accdb"), "/e"});
    EXPECT_EQ(refused.exitCode, 0);
    EXPECT_EQ(refused.out, "Can't open database '" + path("locked.accdb") +
                               "'\n\r\nError: Not a valid password.\r\n\r\n");
    Outcome accepted = kelrun(
        {script("t.sql", "CREATE TABLE [U] ([Id] LONG);"), path("locked.accdb"), "/P", "pw", "/e"});
    EXPECT_EQ(accepted.exitCode, 1) << accepted.out;
}

TEST_F(CommandLineTest, MissingOrUnreadableScriptIsReportedBeforeAnythingRuns) {
    std::string db = database("shop.mdb", "");
    Outcome missing = kelrun({path("nothing.sql"), db, "/e"});
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_EQ(missing.out, "Can't open file " + path("nothing.sql"));

    // A big-endian UTF-16 mark is not a script encoding.
    Outcome bigEndian = kelrun({script("be.sql", "\xFE\xFF\0C"), db, "/e"});
    EXPECT_EQ(bigEndian.exitCode, 0);
    EXPECT_EQ(bigEndian.out, "Can't open file " + path("be.sql"));
}

TEST_F(CommandLineTest, BinaryScriptFailsAsStatementsAndChangesNothing) {
    std::string db = database("shop.mdb", "CREATE TABLE [Kept] ([Id] LONG);");
    std::string binary;
    for (int i = 0; i < 512; ++i)
        binary += char((i * 37 + 11) % 256);
    Outcome outcome = kelrun({script("blob.sql", binary), db, "/e", "/ie"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_NE(outcome.out.find("Error(s): "), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.out.find("completed successfully"), std::string::npos) << outcome.out;
    EXPECT_EQ(tableNames(db), std::vector<std::string>{"Kept"});
}

TEST_F(CommandLineTest, TargetThatIsNoDatabaseIsLeftAlone) {
    std::string target = script("notes.mdb", "shopping list\n");
    Outcome outcome =
        kelrun({script("s.sql", "CREATE TABLE [T] ([Id] LONG);"), target, "/e", "/ie"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "Can't open database '" + target +
                               "'\n\r\nError: Unrecognized database format '" + target +
                               "'.\r\n\r\n");
    EXPECT_EQ(bytesOf(target), "shopping list\n");
}

// nwind.mdb is a Jet 3 file, which stays read only (and the copy keeps the shared file's
// permissions: nobody may write it).
TEST_F(CommandLineTest, ReadOnlyAccessFileRefusesEveryChange) {
    if (!accessFilesAvailable())
        GTEST_SKIP() << "waits for the engine to open Access files";
    std::filesystem::path copy = folder_ / "nwind.mdb";
    std::filesystem::copy_file(KEL_ACCESS_DATA_DIR "/nwind.mdb", copy);
    std::string before = bytesOf(copy);
    Outcome outcome = kelrun({script("s.sql", "CREATE TABLE [T] ([Id] LONG);\n"
                                              "DELETE FROM [Customers];\n"),
                              copy.string(), "/e", "/ie"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "1\tCREATE TABLE [T] ([Id] LONG)\r\n\r\n"
                           "Error: Cannot update. Database or object is read-only.\r\n\r\n"
                           "2\tDELETE FROM [Customers]\r\n\r\n"
                           "Error: Cannot update. Database or object is read-only.\r\n\r\n"
                           "Error(s): 2\r\n");
    EXPECT_EQ(bytesOf(copy), before);
}

// A copy the user may write: the table and its indexes go into the file when kelrun closes
// it, replacing it whole; a data statement is refused by name and the run goes on.
TEST_F(CommandLineTest, WritableAccessFileTakesATableWithIndexes) {
    if (!accessFilesAvailable())
        GTEST_SKIP() << "waits for the engine to open Access files";
    std::filesystem::path copy = folder_ / "testV2003.mdb";
    std::filesystem::copy_file(KEL_ACCESS_DATA_DIR "/testV2003.mdb", copy);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    Outcome outcome =
        kelrun({script("s.sql", "CREATE TABLE [T] ([Id] COUNTER CONSTRAINT [PK] PRIMARY KEY, "
                                "[Name] TEXT(50) NOT NULL);\n"
                                "CREATE UNIQUE INDEX [ByName] ON [T] ([Name]);\n"
                                "DELETE FROM [Table1];\n"),
                copy.string(), "/e", "/ie"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "3\tDELETE FROM [Table1]\r\n\r\n"
                           "Error: DELETE is not supported on Access files yet.\r\n\r\n"
                           "Command(s) completed successfully: 2\r\nError(s): 1\r\n");
    std::vector<std::string> tables = tableNames(copy.string());
    EXPECT_NE(std::find(tables.begin(), tables.end(), "T"), tables.end());
    EXPECT_NE(std::find(tables.begin(), tables.end(), "Table1"), tables.end());
    // Nothing is left beside the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 2);
}

TEST_F(CommandLineTest, MissingDatabaseWithoutCreateIsNotMade) {
    Outcome outcome =
        kelrun({script("s.sql", "CREATE TABLE [T] ([Id] LONG);"), path("absent.mdb"), "/e"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "Can't open database '" + path("absent.mdb") +
                               "'\n\r\nError: Could not find file '" + path("absent.mdb") +
                               "'.\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "absent.mdb"));
}

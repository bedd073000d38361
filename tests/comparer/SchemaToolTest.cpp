// kelvor-schema through the built program: the structure of one database as the script that
// creates it, on embedded databases and on the shared Access files, and its messages on
// files it cannot read.

#include "foundation/settings/ComparerOptions.h"
#include "foundation/settings/Progress.h"
#include "foundation/text/WideString.h"
#include "reader/SchemaReader.h"
#include "script/ScriptText.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/ExclusiveLock.h"
#include "tests/comparer/KelvorProcess.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

KelvorOutcome runSchemaTool(const std::vector<std::string>& arguments, bool withConsole = true) {
    return runProgram(KEL_BIN_DIR "/kelvor-schema", arguments, withConsole);
}

fs::path accessFile(const char* name) {
    return fs::path(KEL_ACCESS_DATA_DIR) / name;
}

// What the program must print for the database, read in this process.
std::string expectedOutput(const fs::path& path) {
    database::DatabaseDescription description;
    description.path = wide(path);
    settings::comparer::OptionsManager settings;
    settings::FakeProgress progress;
    reader::SchemaReader reader(description, settings.options());
    std::unique_ptr<Database> schema = reader.read(progress);
    if (!schema)
        return "unreadable";
    return text::toUtf8WithLineFeeds(creationScript(std::move(schema)));
}

class SchemaToolTest : public ::testing::Test {
protected:
    PrivateSettings isolated;
    ScratchFolder dir;
    DatabasePair databases{dir.path()};
};

} // namespace

TEST_F(SchemaToolTest, AnEmbeddedDatabaseGivesTheScriptThatMakesItAgain) {
    const std::string before = bytesOf(databases.second);
    KelvorOutcome outcome = runSchemaTool({databases.second.string()});
    // git runs the driver on the work tree's file: reading must not change it.
    EXPECT_EQ(bytesOf(databases.second), before);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, expectedOutput(databases.second));
    EXPECT_EQ(outcome.out.rfind("CREATE TABLE [Customers]", 0), 0u) << outcome.out;
    EXPECT_NE(outcome.out.find("CREATE TABLE [Invoices]"), std::string::npos);
    EXPECT_EQ(outcome.out.find('\r'), std::string::npos);

    // The script, run into an empty database, gives the same structure.
    fs::path script = dir / "schema.sql";
    std::ofstream(script, std::ios::binary) << outcome.out;
    fs::path copy = dir / "made.db";
    ASSERT_EQ(runKelrun({script.string(), copy.string(), "/c", "/e"}).exitCode, 1);
    KelvorOutcome compared = runKelvor(
        {databases.second.string(), copy.string(), (dir / "sync.sql").string(), "/e", "/x"});
    EXPECT_EQ(compared.exitCode, 0) << compared.out;
}

TEST_F(SchemaToolTest, AnEmptyDatabasePrintsNothing) {
    fs::path empty = dir / "empty.db";
    createDatabase(empty, {});
    KelvorOutcome outcome = runSchemaTool({empty.string()});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(runSchemaTool({empty.string()}, false).exitCode, 0);
}

TEST_F(SchemaToolTest, AccessFilesAreReadLikeEmbeddedOnesAndStayAsTheyWere) {
    for (const char* name : {"testV2003.mdb", "testV2010.accdb", "nwind.mdb"}) {
        SCOPED_TRACE(name);
        fs::path path = accessFile(name);
        const std::string before = bytesOf(path);
        KelvorOutcome outcome = runSchemaTool({path.string()});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(outcome.out, expectedOutput(path));
        EXPECT_NE(outcome.out.find("CREATE TABLE ["), std::string::npos);
        EXPECT_EQ(outcome.out.find('\r'), std::string::npos);
        EXPECT_NE(outcome.out.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_EQ(bytesOf(path), before);
    }
}

TEST_F(SchemaToolTest, TheComparersObjectSwitchesChooseWhatIsPrinted) {
    fs::path script = dir / "objects.sql";
    std::ofstream(script, std::ios::binary)
        << "CREATE TABLE [T] ([Id] LONG);\r\nALTER FORM [Orders] SET base64(\"QUJD\");\r\n";
    fs::path db = dir / "objects.db";
    ASSERT_EQ(runKelrun({script.string(), db.string(), "/c", "/e"}).exitCode, 1);

    const std::string form = "ALTER FORM [Orders] SET base64(\"QUJD";
    EXPECT_EQ(runSchemaTool({db.string()}).out.find(form), std::string::npos);
    ASSERT_TRUE(settings::comparer::OptionsManager().setCompareForms(true));
    KelvorOutcome withForms = runSchemaTool({db.string()});
    EXPECT_EQ(withForms.exitCode, 0) << withForms.err;
    EXPECT_NE(withForms.out.find(form), std::string::npos) << withForms.out;
}

TEST_F(SchemaToolTest, AFileThatCannotBeReadGivesTheReadersMessageAndNoScript) {
    fs::path missing = dir / "missing.mdb";
    fs::path damaged = dir / "damaged.mdb";
    std::string bytes = bytesOf(accessFile("testV2003.mdb"));
    std::fill(bytes.begin() + 200, bytes.end(), '\x5A');
    std::ofstream(damaged, std::ios::binary) << bytes;
    fs::path text = dir / "prices.mdb";
    std::ofstream(text) << "Name;Price\nTea;3\n";
    fs::path folder = dir / "folder.mdb";
    fs::create_directory(folder);

    for (const fs::path& path : {missing, damaged, text, folder}) {
        SCOPED_TRACE(path.filename().string());
        const std::string before = fs::is_regular_file(path) ? bytesOf(path) : "";
        KelvorOutcome outcome = runSchemaTool({path.string()});
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err.rfind("kelvor-schema: " + path.string() + "\n", 0), 0u)
            << outcome.err;
        const std::string reason = path == missing
                                       ? "Could not find file '" + path.string() + "'."
                                       : "Unrecognized database format '" + path.string() + "'.";
        EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\r'), std::string::npos);
        EXPECT_EQ(fs::is_regular_file(path) ? bytesOf(path) : "", before);
    }
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(SchemaToolTest, ALockedDatabaseIsReportedAndLeftAlone) {
    const std::string before = bytesOf(databases.second);
    ExclusiveLock lock(databases.second);
    ASSERT_TRUE(lock.locked());
    KelvorOutcome outcome = runSchemaTool({databases.second.string()});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("file already in use"), std::string::npos) << outcome.err;
    EXPECT_EQ(bytesOf(databases.second), before);
}

TEST_F(SchemaToolTest, AClosedStandardOutputIsAFailure) {
    KelvorOutcome outcome = runSchemaTool({databases.second.string()}, false);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "kelvor-schema: Can't write to standard output.\n");
}

TEST_F(SchemaToolTest, AnythingButOneDatabaseShowsTheUsage) {
    for (const std::vector<std::string>& words : {std::vector<std::string>{}, {"a.mdb", "b.mdb"}}) {
        KelvorOutcome outcome = runSchemaTool(words);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err.rfind("Usage: kelvor-schema <database>\n", 0), 0u);
    }
    KelvorOutcome help = runSchemaTool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: kelvor-schema <database>\n", 0), 0u);
}

// kelrun under faults it cannot prevent: killed with SIGKILL at random moments of a script that
// rebuilds tables with rows (a few kills here; bench/runner_kills kills it a hundred times and
// more), a full disk, a second run on the same database, a read-only medium.

#include "DatabaseChecks.h"
#include "ExecutorFixture.h"
#include "KillScenario.h"

using namespace executortest;

TEST(KillTest, KilledRunsLeaveAPrefixOfTheScriptAndEveryRow) {
    constexpr int kRebuilds = 120; // with their log inserts, 240 statements
    constexpr int kKills = 5;
    TempFolder folder;
    std::filesystem::path pristine = folder / "pristine.mdb";
    std::filesystem::path target = folder / "target.mdb";
    std::filesystem::path script = folder / "rebuilds.sql";
    killscenario::createDatabase(pristine);
    std::ofstream(script, std::ios::binary) << killscenario::script(kRebuilds);
    std::vector<std::string> signatures =
        killscenario::cleanRunSignatures(pristine, target, kRebuilds);

    // A whole run first: it must end with every statement applied, and it gives the span over
    // which the kills are spread.
    std::filesystem::copy_file(pristine, target, std::filesystem::copy_options::overwrite_existing);
    auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(
        killscenario::runAndKill(KEL_BIN_DIR "/kelrun", script, target, std::chrono::seconds(60)));
    auto span = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    killscenario::Verdict whole = killscenario::verify(target, signatures);
    ASSERT_EQ(whole.problem, "");
    ASSERT_EQ(whole.applied, kRebuilds);

    std::mt19937 random(20261209);
    int killed = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        std::filesystem::copy_file(pristine, target,
                                   std::filesystem::copy_options::overwrite_existing);
        std::uniform_int_distribution<long> moment(0, span.count());
        auto delay = std::chrono::microseconds(moment(random));
        SCOPED_TRACE("kill after " + std::to_string(delay.count()) + " us");
        killed += killscenario::runAndKill(KEL_BIN_DIR "/kelrun", script, target, delay);
        killscenario::Verdict verdict = killscenario::verify(target, signatures);
        EXPECT_EQ(verdict.problem, "");
        EXPECT_EQ(verdict.rowsLost, 0);
    }
    EXPECT_GE(killed, 1);
}

namespace {

// Runs a shell command line; its exit code, or -1 when it did not exit.
int shell(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string bytesOfFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The tables of an Access file as libmdb lists them, one name a line.
std::string mdbTables(const std::filesystem::path& file) {
    std::string command = "mdb-tables -1 '" + file.string() + "' 2>/dev/null";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

} // namespace

// kelrun killed at random moments while it changes a real Access file: the file is each time
// the one it was, byte for byte, or the one a whole run makes; a kill never leaves it half
// written, because the run writes into a copy that takes the file's place only at the end.
TEST(AccessFileKillTest, AKilledRunLeavesTheFileAsItWasOrWhole) {
    TempFolder folder;
    std::filesystem::path target = folder / "db.mdb";
    std::filesystem::path script = folder / "changes.sql";
    std::string text;
    for (int t = 0; t < 12; ++t)
        text += "CREATE TABLE [K" + std::to_string(t) +
                "] ([Id] LONG NOT NULL, [Name] TEXT(40), CONSTRAINT [PK_K" + std::to_string(t) +
                "] PRIMARY KEY ([Id]));\r\nCREATE INDEX [ByName" + std::to_string(t) + "] ON [K" +
                std::to_string(t) + "] ([Name]);\r\n";
    text += "ALTER TABLE [Table1] ADD COLUMN [Added] TEXT(20);\r\n";
    std::ofstream(script, std::ios::binary) << text;
    auto fresh = [&] {
        std::filesystem::copy_file(KEL_ACCESS_DATA_DIR "/testV2003.mdb", target,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_write);
    };
    fresh();
    const std::string original = bytesOfFile(target);
    const std::string originalTables = mdbTables(target);
    auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(
        killscenario::runAndKill(KEL_BIN_DIR "/kelrun", script, target, std::chrono::seconds(60)));
    auto span = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    const std::string wholeTables = mdbTables(target);
    ASSERT_NE(wholeTables, originalTables);
    ASSERT_NE(wholeTables.find("K11\n"), std::string::npos);

    std::mt19937 random(20261210);
    std::uniform_int_distribution<long> moment(0, span.count());
    int killed = 0;
    for (int kill = 0; kill < 4; ++kill) {
        fresh();
        auto delay = std::chrono::microseconds(moment(random));
        SCOPED_TRACE("kill after " + std::to_string(delay.count()) + " us");
        killed += killscenario::runAndKill(KEL_BIN_DIR "/kelrun", script, target, delay);
        bool asItWas = bytesOfFile(target) == original;
        EXPECT_TRUE(asItWas || mdbTables(target) == wholeTables);
    }
    EXPECT_GE(killed, 1);
}

// The file-size limit stands in for a full disk: kelrun on a growing database reports the
// failed statement with the engine's message, and what it leaves opens, passes the integrity check
// and holds exactly the rows of the statements before it.
TEST(FullDiskTest, GrowingDatabaseStopsCleanlyAtTheLimit) {
    TempFolder folder;
    std::filesystem::path database = folder / "target.mdb";
    killscenario::createDatabase(database);
    std::string script;
    for (int id = 1; id <= 400; ++id)
        script += "INSERT INTO [T0] ([Id], [V]) VALUES (" + std::to_string(1000 + id) +
                  ", 'x');\r\nALTER TABLE [T0] ALTER COLUMN [V] TEXT(" +
                  std::to_string(30 + id % 2) + ");\r\n";
    std::ofstream(folder / "grow.sql", std::ios::binary) << script;
    // Blocks of 1024 bytes: room for the database as made and a little more.
    shell("cd " + folder.path().string() + " && ulimit -f " +
          std::to_string(std::filesystem::file_size(database) / 1024 + 100) +
          " && " KEL_BIN_DIR "/kelrun grow.sql target.mdb /e >out 2>&1");
    std::string output = bytesOfFile(folder / "out");
    EXPECT_NE(output.find("Error: Disk or network error."), std::string::npos) << output;

    database::DatabaseDescription description = killscenario::describe(database);
    database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
    std::vector<std::string> added =
        killscenario::rowsOf(connection, "SELECT [Id] FROM [T0] WHERE [Id] > 1000 ORDER BY [Id]");
    ASSERT_FALSE(added.empty());
    ASSERT_LT(added.size(), 400u);
    for (std::size_t i = 0; i < added.size(); ++i)
        EXPECT_EQ(added[i], std::to_string(1001 + i));
    EXPECT_EQ(killscenario::rowsOf(connection, "SELECT COUNT(*) FROM [T0] WHERE [Id] <= 1000"),
              std::vector<std::string>{std::to_string(killscenario::kRowsPerTable)});
    connection.close();
    EXPECT_TRUE(passesIntegrityCheck(description.path));
}

// Two runs on one database at once: each statement of each either waits its turn or fails
// with the engine's message; the rows of both are all there or reported, and the file stays
// sound.
TEST(TwoWritersTest, ConcurrentRunsNeitherCorruptNorLoseRows) {
    TempFolder folder;
    std::filesystem::path database = folder / "target.mdb";
    killscenario::createDatabase(database);
    for (int run = 0; run < 2; ++run) {
        std::string script;
        for (int i = 0; i < 150; ++i)
            script += "INSERT INTO [T1] ([Id], [V]) VALUES (" +
                      std::to_string(10000 * (run + 1) + i) + ", 'run');\r\n" +
                      (i % 10 == 0 ? "ALTER TABLE [T1] ALTER COLUMN [V] TEXT(" +
                                         std::to_string(40 + i + run) + ");\r\n"
                                   : std::string());
        std::ofstream(folder / ("run" + std::to_string(run) + ".sql"), std::ios::binary) << script;
    }
    std::string run = "cd " + folder.path().string() + " && " KEL_BIN_DIR "/kelrun ";
    shell("(" + run + "run0.sql target.mdb /e /ie >out0 2>&1 & " + run +
          "run1.sql target.mdb /e /ie >out1 2>&1; wait)");

    database::DatabaseDescription description = killscenario::describe(database);
    database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
    for (int r = 0; r < 2; ++r) {
        std::string output = bytesOfFile(folder / ("out" + std::to_string(r)));
        int low = 10000 * (r + 1);
        std::vector<std::string> rows = killscenario::rowsOf(
            connection, "SELECT COUNT(*) FROM [T1] WHERE [Id] >= " + std::to_string(low) +
                            " AND [Id] < " + std::to_string(low + 10000));
        // Every insert that the report does not list as failed is in the table.
        int failedInserts = 0;
        for (std::size_t at = output.find("\tINSERT"); at != std::string::npos;
             at = output.find("\tINSERT", at + 1))
            ++failedInserts;
        EXPECT_EQ(rows, std::vector<std::string>{std::to_string(150 - failedInserts)}) << output;
        for (std::size_t at = output.find("Error: "); at != std::string::npos;
             at = output.find("Error: ", at + 1))
            EXPECT_EQ(output.compare(at, 20, "Error: Could not use"), 0) << output.substr(at, 120);
    }
    EXPECT_EQ(killscenario::rowsOf(connection, "SELECT COUNT(*) FROM [T1] WHERE [Id] <= 1000"),
              std::vector<std::string>{std::to_string(killscenario::kRowsPerTable)});
    connection.close();
    EXPECT_TRUE(passesIntegrityCheck(description.path));
}

// A database on a read-only medium (a tmpfs mounted for the test, when this machine lets the
// test mount one): it opens, the first write fails with the engine's read-only message, and
// the file stays as it was.
TEST(ReadOnlyMediumTest, FirstWriteFailsWithTheReadOnlyMessage) {
    TempFolder folder;
    std::filesystem::path medium = folder / "medium";
    std::filesystem::create_directory(medium);
    if (shell("mount -t tmpfs -o size=4m tmpfs " + medium.string() + " 2>/dev/null") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    std::filesystem::path database = medium / "target.mdb";
    killscenario::createDatabase(database);
    std::string before = bytesOfFile(database);
    std::ofstream(folder / "write.sql", std::ios::binary) << "CREATE TABLE [New] ([Id] LONG);\r\n";
    int remounted = shell("mount -o remount,ro " + medium.string());
    std::string output;
    if (remounted == 0) {
        shell("cd " + folder.path().string() + " && " KEL_BIN_DIR "/kelrun write.sql " +
              database.string() + " /e >out 2>&1");
        output = bytesOfFile(folder / "out");
    }
    std::string after = bytesOfFile(database);
    shell("umount " + medium.string());
    ASSERT_EQ(remounted, 0);
    EXPECT_EQ(output, "1\tCREATE TABLE [New] ([Id] LONG)\r\n\r\nError: Cannot update. Database or "
                      "object is read-only.\r\n\r\nError(s): 1\r\n");
    EXPECT_TRUE(after == before);
}

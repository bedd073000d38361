// kelvor reading a database while kelrun rebuilds its tables: each read either sees the
// structure of the database between two statements or fails with the engine's file-in-use
// message; it never sees half a statement, and the run it reads beside loses nothing.

#include "foundation/settings/ComparerOptions.h"
#include "foundation/settings/Progress.h"
#include "reader/SchemaReader.h"
#include "script/ScriptText.h"
#include "tests/comparer/KelvorProcess.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/runner_executor/KillScenario.h"

#include <gtest/gtest.h>

#include <set>

namespace fs = std::filesystem;

namespace {

// What kelvor-schema prints for the database, read in this process.
std::string creationScriptOf(const fs::path& file) {
    database::DatabaseDescription description;
    description.path = text::fromUtf8(file.string());
    settings::comparer::OptionsManager settings;
    settings::FakeProgress progress;
    reader::SchemaReader reader(description, settings.options());
    std::unique_ptr<Database> schema = reader.read(progress);
    if (reader.failed() || !schema)
        return "unreadable: " + text::toUtf8(reader.errorText());
    return text::toUtf8WithLineFeeds(creationScript(std::move(schema)));
}

} // namespace

TEST(ReadWhileWritingTest, EveryReadSeesAWholeStatementOrTheFileInUse) {
    constexpr int kRebuilds = 48;
    PrivateSettings isolated;
    ScratchFolder dir;
    fs::path pristine = dir / "pristine.mdb";
    fs::path target = dir / "target.mdb";
    fs::path script = dir / "rebuilds.sql";
    killscenario::createDatabase(pristine);
    fs::copy_file(pristine, target);
    std::ofstream(script, std::ios::binary) << killscenario::script(kRebuilds);

    // The structure between every two statements of a clean run, each statement run by
    // kelrun as in the run read below.
    fs::path work = dir / "work.mdb";
    fs::path step = dir / "step.sql";
    fs::copy_file(pristine, work);
    std::set<std::string> between{creationScriptOf(work)};
    for (int i = 0; i < kRebuilds; ++i) {
        std::ofstream(step, std::ios::binary | std::ios::trunc)
            << killscenario::rebuildingStatement(i) << ";\r\n";
        KelvorOutcome ran = runKelrun({step.string(), work.string(), "/e"});
        ASSERT_EQ(ran.exitCode, 1) << ran.out << ran.err; // 1: every statement succeeded
        between.insert(creationScriptOf(work));
    }
    ASSERT_EQ(between.size(), std::size_t(kRebuilds) + 1);
    ASSERT_EQ(runProgram(KEL_BIN_DIR "/kelvor-schema", {work.string()}).out,
              creationScriptOf(work));

    pid_t writer =
        killscenario::startQuietly(KEL_BIN_DIR "/kelrun", {script.string(), target.string(), "/e"});
    // Reads in this process, through the reader kelvor uses, come often enough to fall inside
    // statements; every tenth read is the kelvor-schema program.
    int seen = 0;
    int refused = 0;
    int status = 0;
    for (int read = 0; waitpid(writer, &status, WNOHANG) != writer; ++read) {
        if (read % 10 == 9) {
            KelvorOutcome program = runProgram(KEL_BIN_DIR "/kelvor-schema", {target.string()});
            bool inUse = program.err.find("file already in use") != std::string::npos;
            EXPECT_TRUE(program.exitCode == 0 ? between.count(program.out) != 0 : inUse)
                << program.out << program.err;
            ++(program.exitCode == 0 ? seen : refused);
            continue;
        }
        std::string script = creationScriptOf(target);
        if (script.starts_with("unreadable: ")) {
            EXPECT_NE(script.find("file already in use"), std::string::npos) << script;
            ++refused;
            continue;
        }
        EXPECT_TRUE(between.count(script)) << script;
        ++seen;
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_GE(seen + refused, 3);
    RecordProperty("reads", seen);
    RecordProperty("refused", refused);

    killscenario::Verdict verdict =
        killscenario::verify(target, killscenario::cleanRunSignatures(pristine, work, kRebuilds));
    EXPECT_EQ(verdict.applied, kRebuilds);
    EXPECT_EQ(verdict.problem, "");
    EXPECT_EQ(verdict.rowsLost, 0);
}

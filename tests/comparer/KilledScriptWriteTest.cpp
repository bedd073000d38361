// kelvor killed while it writes its script: the script file is the old one or the complete
// new one, never a part of the new one under the script's name.

#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/KelvorProcess.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/foundation/platform/ScratchFolder.h"
#include "tests/runner_executor/KillScenario.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <signal.h>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// A second database with enough tables that writing their statements takes a while.
std::vector<std::u16string> manyTables() {
    std::vector<std::u16string> statements;
    for (int t = 0; t < 300; ++t) {
        std::u16string table = u"[Table" + text::toWString(t) + u"]";
        statements.push_back(u"CREATE TABLE " + table +
                             u" ([Id] COUNTER PRIMARY KEY, [Name] TEXT(50) NOT NULL, "
                             u"[Amount] CURRENCY, [Born] DATETIME, [Notes] MEMO)");
        statements.push_back(u"CREATE INDEX [ByName] ON " + table + u" ([Name], [Born] DESC)");
    }
    return statements;
}

struct ScriptRun {
    bool killed = false;
    Clock::duration writing{}; // from the new file's appearance to its rename
};

// Runs kelvor in script mode. When killAfter is given, kills it that long after the new
// script file appears beside the old one. The writing lasts until the new file takes the
// script's name.
ScriptRun runKelvorScript(const std::vector<std::string>& words,
                          std::optional<Clock::duration> killAfter) {
    fs::path partial = words[2] + ".partial";
    pid_t child = killscenario::startQuietly(KEL_BIN_DIR "/kelvor", words);
    ScriptRun run;
    int status = 0;
    std::optional<Clock::time_point> appeared;
    std::optional<Clock::time_point> renamed;
    for (;;) {
        if (waitpid(child, &status, WNOHANG) == child)
            break;
        Clock::time_point now = Clock::now();
        std::error_code ignored;
        bool exists = fs::exists(partial, ignored);
        if (!appeared && exists)
            appeared = now;
        if (appeared && !renamed && !exists)
            renamed = now;
        if (appeared && killAfter && now - *appeared >= *killAfter) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            run.killed = WIFSIGNALED(status);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (appeared)
        run.writing = renamed.value_or(Clock::now()) - *appeared;
    return run;
}

} // namespace

TEST(KilledScriptWriteTest, TheScriptIsTheOldOneOrComplete) {
    PrivateSettings isolated;
    ScratchFolder dir;
    fs::path first = dir / "first.db";
    fs::path second = dir / "second.db";
    fs::path script = dir / "sync.sql";
    createDatabase(first, {});
    createDatabase(second, manyTables());
    std::vector<std::string> words{first.string(), second.string(), script.string()};

    ScriptRun clean = runKelvorScript(words, std::nullopt);
    ASSERT_FALSE(clean.killed);
    std::string complete = bytesOf(script);
    ASSERT_GT(complete.size(), 100000u);

    const std::string old = "-- the script of an earlier run\r\n";
    std::mt19937 random(20261210);
    std::uniform_int_distribution<long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(clean.writing).count());
    int killedWhileWriting = 0;
    for (int kill = 0; kill < 6; ++kill) {
        std::ofstream(script, std::ios::binary | std::ios::trunc) << old;
        // The first kill comes as soon as the new file appears, so that one always falls
        // inside the writing.
        auto delay = std::chrono::microseconds(kill == 0 ? 0 : moment(random));
        SCOPED_TRACE("kill " + std::to_string(delay.count()) + " us into the writing");
        ScriptRun run = runKelvorScript(words, delay);
        std::string now = bytesOf(script);
        if (run.killed && now == old)
            ++killedWhileWriting;
        EXPECT_TRUE(now == old || now == complete) << now.size() << " bytes";
    }
    EXPECT_GE(killedWhileWriting, 1);
}

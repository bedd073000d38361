// Runs the kelrun program itself as a child process.

#include "foundation/text/WideString.h"
#include "runner/RunnerCommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <sys/wait.h>

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

Outcome runKelrun(const std::string& arguments, const std::string& environment = "") {
    // Tests run in parallel: each run gets its own directory for the captured streams.
    std::string dir = (std::filesystem::temp_directory_path() / "kelrun-test-XXXXXX").string();
    if (!mkdtemp(dir.data()))
        return {};
    std::string out = dir + "/out";
    std::string err = dir + "/err";
    std::string command = environment + " '" KEL_BIN_DIR "/kelrun' " + arguments + " >'" + out +
                          "' 2>'" + err + "' </dev/null";
    int status = std::system(command.c_str());
    Outcome outcome;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    outcome.out = readFile(out);
    outcome.err = readFile(err);
    std::filesystem::remove_all(dir);
    return outcome;
}

std::string helpBox() {
    return "Help: " + text::toUtf8(RunnerCommandLine::usageText()) + "\n";
}

} // namespace

TEST(KelrunProgram, OneArgumentShowsTheHelpBoxAndExitsWithZero) {
    Outcome outcome = runKelrun("x");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, helpBox());
    EXPECT_EQ(outcome.out, "");
}

TEST(KelrunProgram, MissingValueAndUnknownOptionShowTheHelpBox) {
    for (const char* arguments : {"s.sql db.mdb /p", "s.sql db.mdb /nope"}) {
        Outcome outcome = runKelrun(arguments);
        EXPECT_EQ(outcome.exitCode, 0) << arguments;
        EXPECT_EQ(outcome.err, helpBox()) << arguments;
    }
}

#if KEL_WITH_UI
TEST(KelrunProgram, NoArgumentsWithoutADisplaySaysSoInOneLine) {
    Outcome outcome = runKelrun("", "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("no display"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
}
#else
TEST(KelrunProgram, NoArgumentsPrintsTheUsageTextWithoutWindows) {
    Outcome outcome = runKelrun("");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, text::toUtf8(RunnerCommandLine::usageText()) + "\n");
}
#endif

// Runs the kelvor program itself as a child process.

#include "comparer/CommandLineArguments.h"
#include "foundation/text/WideString.h"

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

Outcome runKelvor(const std::string& arguments) {
    // Tests run in parallel: each run gets its own directory for the captured streams.
    std::string dir = (std::filesystem::temp_directory_path() / "kelvor-test-XXXXXX").string();
    if (!mkdtemp(dir.data()))
        return {};
    std::string out = dir + "/out";
    std::string err = dir + "/err";
    std::string command =
        "'" KEL_BIN_DIR "/kelvor' " + arguments + " >'" + out + "' 2>'" + err + "' </dev/null";
    int status = std::system(command.c_str());
    Outcome outcome;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    outcome.out = readFile(out);
    outcome.err = readFile(err);
    std::filesystem::remove_all(dir);
    return outcome;
}

} // namespace

TEST(KelvorProgram, MalformedCommandLineShowsTheHelpBoxAndExitsWithZero) {
    Outcome outcome = runKelvor("'/?'");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "Help: " + text::toUtf8(CommandLineArguments::usageText()) + "\n");
    EXPECT_EQ(outcome.out, "");
}

TEST(KelvorProgram, NoArgumentsPrintsTheUsageText) {
    Outcome outcome = runKelvor("");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, text::toUtf8(CommandLineArguments::usageText()) + "\n");
}

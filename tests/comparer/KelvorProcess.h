#pragma once

// Runs the programs of the build (kelvor, kelrun) as child processes and captures what they
// write.

#include "tests/comparer/FileBytes.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

struct KelvorOutcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program of the build; each argument reaches it as one word. Without a console,
// standard output is closed.
inline KelvorOutcome runProgram(const std::string& program,
                                const std::vector<std::string>& arguments,
                                bool withConsole = true) {
    // Tests run in parallel: each run gets its own directory for the captured streams.
    std::string dir = (std::filesystem::temp_directory_path() / "kelvor-test-XXXXXX").string();
    if (!mkdtemp(dir.data()))
        return {};
    auto quoted = [](const std::string& word) {
        std::string q = "'";
        for (char c : word)
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    // Without a display: the programs then keep their messages on standard error.
    std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " + quoted(program);
    for (const auto& argument : arguments)
        command += " " + quoted(argument);
    std::string out = dir + "/out";
    std::string err = dir + "/err";
    command += (withConsole ? " >" + quoted(out) : std::string(" >&-")) + " 2>" + quoted(err) +
               " </dev/null";
    int status = std::system(command.c_str());
    KelvorOutcome outcome;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    outcome.out = bytesOf(out);
    outcome.err = bytesOf(err);
    std::filesystem::remove_all(dir);
    return outcome;
}

inline KelvorOutcome runKelvor(const std::vector<std::string>& arguments, bool withConsole = true) {
    return runProgram(KEL_BIN_DIR "/kelvor", arguments, withConsole);
}

inline KelvorOutcome runKelrun(const std::vector<std::string>& arguments) {
    return runProgram(KEL_BIN_DIR "/kelrun", arguments);
}

#pragma once

// The runner's command-line run: create the database when asked, run the script file against
// it, and report a failure on the console, in the log file or in a message box.

#include "runner/RunnerCommandLine.h"

#include <string>

namespace engine {
class Components;
}

// The exit codes of a run.
inline constexpr int kExitAllSucceeded = 1;
inline constexpr int kExitFailed = 0;

// Runs a parsed command line. True when the script ran and no command failed; otherwise
// message holds the report, or why the run could not start.
bool runCommandLine(const RunnerCommandLine& commandLine, std::u16string& message);
bool runCommandLine(const RunnerCommandLine& commandLine, std::u16string& message,
                    engine::Components& components);

// Shows the message of a failed run where the command line asks: standard output for "/e",
// "kelrun.log" in the current directory for "/ef" (both when both are given), else a message
// box.
void reportFailure(const RunnerCommandLine& commandLine, const std::u16string& message);

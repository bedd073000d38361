#pragma once

// Running the tools of an installation test: programs of the system and of the build.

#include "tests/comparer/KelvorProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// A program's outcome in a failure message.
inline std::string describe(const KelvorOutcome& outcome) {
    return "exit " + std::to_string(outcome.exitCode) + "\nout: " + outcome.out +
           "\nerr: " + outcome.err;
}

// The build installed with its rules under a staging folder, as a package build does.
inline KelvorOutcome installBuild(const std::filesystem::path& stage, const std::string& prefix) {
    return runProgram("env", {"DESTDIR=" + stage.string(), "cmake", "--install", KEL_BUILD_DIR,
                              "--prefix", prefix});
}

inline std::filesystem::path sharedAccessFile(const char* name) {
    return std::filesystem::path(KEL_ACCESS_DATA_DIR) / name;
}

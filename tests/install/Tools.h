#pragma once

// What the installation and package tests share: running programs of the system and of the
// build, and the folders that their ctest fixtures fill before them.

#include "tests/comparer/KelvorProcess.h"

#include <filesystem>
#include <string>

// A program's outcome in a failure message.
inline std::string describe(const KelvorOutcome& outcome) {
    return "exit " + std::to_string(outcome.exitCode) + "\nout: " + outcome.out +
           "\nerr: " + outcome.err;
}

inline std::filesystem::path sharedAccessFile(const char* name) {
    return std::filesystem::path(KEL_ACCESS_DATA_DIR) / name;
}

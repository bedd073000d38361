#pragma once

// The runner's log of failed runs, appended in the current directory.

#include <string>

inline constexpr char kLogFileName[] = "kelrun.log";

// Appends the message and a line break as UTF-8, keeping the message's own line ends. A file
// that cannot be opened is skipped (true, nothing written); false when the write fails.
bool appendToLog(const char* path, std::u16string_view message);

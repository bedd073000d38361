#pragma once

// Starting other programs: the external diff tool and the script runner. Programs are started
// directly, never through a shell, so that nothing in a file name is interpreted.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Splits a command line into words at spaces and tabs. Double or single quotes group what
// they enclose into one word and are dropped; quoted parts next to unquoted text join it
// ("a"'b c' is the word "ab c"), and "" alone is an empty word. No other character is
// special: backslashes stay as they are. An unclosed quote runs to the end of the line.
std::vector<std::u16string> splitCommandLine(std::u16string_view commandLine);

// Starts words[0] with all the words as its arguments and returns at once; the program is
// looked up in PATH when its name has no slash. The new process gets its own session, the
// environment, the current directory and the standard streams, but no other open file. It
// is not waited for; when it ends it is reaped in the background. False when it could not be
// started (no words, or the program is missing or not executable).
bool startProcess(const std::vector<std::u16string>& words);

// The folder of the running program's executable; none when it cannot be found.
std::optional<std::filesystem::path> programDirectory();

} // namespace platform

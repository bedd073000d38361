#pragma once

// Starting the script runner from the comparer, with no arguments and without waiting.

#include <filesystem>
#include <optional>
#include <string>

// "kelrun" beside the comparer's own executable when it is there and executable, else
// "./kelrun" in the current directory.
std::u16string scriptRunnerPath(const std::optional<std::filesystem::path>& programDirectory);

// Starts the runner found from the comparer's directory; false when it did not start.
bool startScriptRunner();

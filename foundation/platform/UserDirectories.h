#pragma once

// Where the programs keep files of the current user: settings, crash reports and temporary
// files.

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; none without a home folder.
std::optional<std::filesystem::path> configHome();

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share; none without a home folder.
std::optional<std::filesystem::path> dataHome();

// $TMPDIR when set and not empty, else /tmp; always ends with '/'.
std::u16string tempDirectory();

} // namespace platform

#pragma once

// Files that only the current user may read: temporary files and settings. None of these
// functions writes through a symbolic link planted where a private file is expected.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Creates the folder and its missing parents, each new one with mode 0700.
bool makePrivateDirectories(const std::filesystem::path& folder);

// Creates a new empty file with mode 0600. Fails when anything exists at the path,
// a symbolic link included.
bool createPrivateFile(std::u16string_view path);

// Creates a new empty private file in the folder and returns its path. The name is the
// first three characters of the prefix, four upper-case hexadecimal digits and ".TMP", as
// Windows names its temporary files; none when no free name can be created.
std::optional<std::u16string> createUniqueTempFile(std::u16string_view folder,
                                                   std::u16string_view prefix);

// Opens a file for writing from its start: creates it with mode 0600, or truncates it when it
// is a regular file of the current user (made private first). A symbolic link, a file of
// another user or one with other hard links is refused. Fits OutputFileOptions::opener.
std::FILE* openPrivateFile(const char* nativePath);

} // namespace platform

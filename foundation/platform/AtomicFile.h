#pragma once

// Replacing a file's content so that a reader sees either the old or the new content, never
// a mix, and a crash or a full disk leaves the old file in place.

#include <filesystem>
#include <string_view>

namespace platform {

// Writes the bytes to a new private file beside the target, flushes it to disk and renames
// it over the target. An existing target keeps its permissions (a new one gets 0600); when
// the target is a symbolic link, the file it points to is replaced and the link kept.
// False when anything fails; the target is then unchanged.
bool replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace platform

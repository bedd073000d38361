#pragma once

// Whether another program holds a lock on a file, as a database engine does on the lock file
// (.ldb, .laccdb) beside a database it has open. A missing file, or one left behind unlocked
// by a program that ended, is not in use.

#include <filesystem>

namespace platform {

bool lockedByAnotherProgram(const std::filesystem::path& file);

} // namespace platform

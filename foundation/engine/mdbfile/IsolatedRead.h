#pragma once

// Reads the schema of an Access file in a child process with a time limit (see FileReader):
// libmdb may crash or loop on a damaged file, and this process must not.

#include "foundation/engine/mdbfile/ReadCache.h"

#include <chrono>
#include <string>

namespace engine::mdbfile {

// Null when the file cannot be read; timedOut tells whether the limit ran out.
ReadCache::Result readIsolated(const std::string& path, std::chrono::milliseconds limit,
                               bool& timedOut);

} // namespace engine::mdbfile

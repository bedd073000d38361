#pragma once

// Checks every leaf entry of every index of a file against the key rebuilt from the row it
// points to. Used to verify the key encoding on files Access wrote, and to read back a file
// the writer produced.

#include "foundation/engine/jetfile/PageFile.h"

#include <map>
#include <string>

namespace engine::jetfile {

struct IndexCheckResult {
    std::size_t indexes = 0;
    std::size_t entries = 0;
    std::size_t matched = 0;
    std::size_t unsupported = 0;         // entries of columns whose encoding is not known
    std::vector<std::string> mismatches; // the first few, described
    std::map<std::uint8_t, std::size_t> entriesByColumnType; // what the check covered
};

IndexCheckResult checkIndexes(const PageSource& file);

} // namespace engine::jetfile

#pragma once

// What the npm package mdb-reader, run under node, makes of a file: one line per table,
// "name|row count|rows read|column:type:size[:notnull][:auto],...". The package is installed
// into the build folder on first use; nullopt when node or the package is not to be had.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace jettest {

std::optional<std::vector<std::string>> nodeReaderTables(const std::filesystem::path& file);

} // namespace jettest

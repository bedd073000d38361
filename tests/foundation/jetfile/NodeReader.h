#pragma once

// What the npm package mdb-reader, run under node, makes of a file: one line per table,
// "name|row count|rows read|column:type:size[:notnull][:auto],...". scripts/install-deps
// installs the package into the project's cache; nullopt when node or the package is missing.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace jettest {

std::optional<std::vector<std::string>> nodeReaderTables(const std::filesystem::path& file);

} // namespace jettest

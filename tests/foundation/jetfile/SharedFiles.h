#pragma once

// The shared Access files the page store handles (Jet 4 and ACE), where they lie.

#include <string>
#include <vector>

namespace jettest {

std::string sharedFile(const std::string& name);
// Every shared Jet 4 and ACE file, by name.
const std::vector<std::string>& writableFormatFiles();

} // namespace jettest

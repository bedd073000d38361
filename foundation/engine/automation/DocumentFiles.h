#pragma once

// The files through which documents leave and enter the application: written and read whole,
// as bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace engine::inprocess {

// Writes the bytes to a new file, or over a regular file of the current user, with mode 0600;
// never through a symbolic link. Throws EngineError and leaves no file when it cannot.
void writeDocumentFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes);

// The file's bytes. Throws EngineError when it cannot be read.
std::vector<std::uint8_t> readDocumentFile(const std::u16string& path);

} // namespace engine::inprocess

#pragma once

// A FileSnapshot as bytes, so that the reading child can hand it to the parent through a pipe.
// Decoding checks every length and count: bytes from a child that died half-way are an error,
// not a crash.

#include "foundation/engine/mdbfile/FileSnapshot.h"

#include <cstdint>
#include <span>
#include <vector>

namespace engine::mdbfile {

std::vector<std::uint8_t> encodeSnapshot(const FileSnapshot& snapshot);

// Throws DamagedFile on bytes that encodeSnapshot did not write.
FileSnapshot decodeSnapshot(std::span<const std::uint8_t> bytes);

} // namespace engine::mdbfile

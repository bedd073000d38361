#pragma once

// The file formats the page store handles: Jet 4 (.mdb of Access 2000 to 2003) and ACE
// (.accdb of Access 2007 and later). Both use 4096-byte pages and the same page layouts; they
// differ in the version byte, the default text sort order and the key encoding of decimals.

#include "foundation/engine/jetfile/Bytes.h"

#include <optional>

namespace engine::jetfile {

constexpr std::size_t pageSize = 4096;

enum class Version : std::uint8_t {
    jet4 = 1,
    ace12 = 2,
    ace14 = 3,
    ace15 = 4,
    ace16 = 5,
    ace17 = 6
};

struct Format {
    Version version = Version::jet4;

    bool isAce() const { return version != Version::jet4; }
};

// The format of a file from its first page; nullopt for Jet 3 and anything else.
std::optional<Format> detectFormat(ByteView firstBytes);

} // namespace engine::jetfile

#pragma once

// Text as Jet 4 and ACE store it: UTF-16LE, or "compressed" (marked by FF FE), where runs
// of characters below U+0100 drop their high byte and a 0 byte switches between the modes.

#include "foundation/engine/jetfile/Bytes.h"

#include <string>

namespace engine::jetfile {

std::u16string decodeText(ByteView stored);
// Text as a row stores it uncompressed: UTF-16, little-endian.
Bytes encodeText(std::u16string_view text);

} // namespace engine::jetfile

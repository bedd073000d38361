#pragma once

// Choosing the encoding of a file or buffer from its first bytes: a UTF-8 mark, else a
// UTF-16 little-endian mark, else the ANSI code page. A buffer that begins with FE FF
// (big-endian UTF-16) is therefore read as ANSI text.

#include "foundation/text/TextEncoder.h"

#include <cstddef>
#include <string>

namespace text {

struct DetectedEncoding {
    TextEncoding encoding;
    std::size_t markLength; // bytes of the mark to skip; 0 for ASCII
};

DetectedEncoding detectByBom(const void* bytes, std::size_t count);

// Decodes the bytes after the mark with the encoding detectByBom chooses.
std::u16string decodeByBom(const void* bytes, std::size_t count);

} // namespace text

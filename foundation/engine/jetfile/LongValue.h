#pragma once

// Memo and OLE values: a 12-byte reference in the row (length, kind, row pointer), with the
// bytes either following inline, in one long-value row, or in a chain of long-value rows each
// starting with the pointer to the next.

#include "foundation/engine/jetfile/PageFile.h"

namespace engine::jetfile {

struct LongValueReference {
    enum class Kind : std::uint8_t { chained = 0x00, singleRow = 0x40, inline_ = 0x80 };
    std::uint32_t length = 0;
    Kind kind = Kind::inline_;
    std::uint32_t rowPointer = 0;
    std::uint32_t reserved = 0;
    Bytes inlineBytes;

    static LongValueReference decode(ByteView stored);
    Bytes encode() const;
};

Bytes readLongValue(const PageSource& file, ByteView stored);

} // namespace engine::jetfile

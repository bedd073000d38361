#pragma once

// Stores memo and OLE values the way Access does by size: up to 64 bytes inline in the row
// (when the row has room), up to one long-value row on a page of long values, else a chain of
// such rows, each holding the pointer to the next before its share of the bytes.

#include "foundation/engine/jetfile/LongValue.h"
#include "foundation/engine/jetfile/PageAllocator.h"

namespace engine::jetfile {

class LongValueWriter {
public:
    LongValueWriter(WorkingCopy& copy, PageAllocator& allocator);

    // The bytes the row holds for the value; roomInRow is what the row can still take.
    Bytes store(ByteView value, std::size_t roomInRow);

private:
    RowPointer placeRow(Bytes bytes);

    WorkingCopy& copy_;
    PageAllocator& allocator_;
    PageNumber current_ = 0; // the long-value page being filled, 0 before the first
};

} // namespace engine::jetfile

#pragma once

// Stores memo and OLE values the way Access does by size: up to 64 bytes inline in the row
// (when the row has room), up to one long-value row on a page of long values, else a chain of
// such rows, each holding the pointer to the next before its share of the bytes.

#include "foundation/engine/jetfile/LongValue.h"
#include "foundation/engine/jetfile/PageAllocator.h"
#include "foundation/engine/jetfile/TableDefinition.h"

#include <optional>

namespace engine::jetfile {

class LongValueWriter {
public:
    // The writer of one column's values. A column with usage maps of its own (ACE files)
    // lists its long-value pages in them, and fills the last of them that has room first.
    LongValueWriter(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table,
                    std::uint16_t columnNumber);

    // The bytes the row holds for the value; roomInRow is what the row can still take.
    Bytes store(ByteView value, std::size_t roomInRow);
    // Deletes the rows of a stored value; a page left without rows goes back to the
    // free-page map.
    void remove(ByteView stored);

private:
    struct ColumnMaps {
        UsageMapWriter owned;
        UsageMapWriter withRoom;
    };

    RowPointer placeRow(Bytes bytes);
    PageNumber lastPageWithRoom() const;
    void newPage();
    void releasePage(PageNumber page);

    WorkingCopy& copy_;
    PageAllocator& allocator_;
    std::optional<ColumnMaps> maps_;
    PageNumber current_ = 0; // the long-value page being filled, 0 before the first
};

} // namespace engine::jetfile

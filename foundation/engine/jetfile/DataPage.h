#pragma once

// A data page (also the pages of long values): a header, a table of row offsets from the top,
// and the rows themselves packed from the end of the page downwards. A row's offset carries two
// flags: deleted, and "overflow" (the row holds only a pointer to where it moved).

#include "foundation/engine/jetfile/Format.h"

#include <utility>

namespace engine::jetfile {

struct DataRow {
    std::uint16_t offset = 0; // where the row starts in the page
    bool deleted = false;
    bool overflow = false;
    Bytes bytes; // up to the start of the next row above it (or the end of the page)
};

struct DataPage {
    std::uint32_t owner = 0; // the table definition page, or page::longValueOwner
    std::uint32_t reserved = 0;
    std::uint16_t freeSpace = 0;
    std::vector<DataRow> rows;

    bool holdsLongValues() const;

    // A page with no rows yet.
    static DataPage empty(std::uint32_t owner);
    // Room for one more row of the size, its offset entry included.
    bool hasRoomFor(std::size_t rowSize) const;
    // Places the row below the lowest one; returns its number.
    std::uint8_t addRow(Bytes bytes, bool deleted = false);

    static DataPage decode(ByteView page);
    Bytes encode() const;
    // The bytes the format leaves undefined: between the offset table and the lowest row.
    std::pair<std::size_t, std::size_t> unusedArea() const;
};

// An overflow row's target: page in the upper three bytes, row in the lowest.
struct RowPointer {
    std::uint32_t page = 0;
    std::uint8_t row = 0;

    static RowPointer fromStored(std::uint32_t value) {
        return {value >> 8, std::uint8_t(value & 0xFF)};
    }
    std::uint32_t stored() const { return page << 8 | row; }
};

} // namespace engine::jetfile

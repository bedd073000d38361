#pragma once

// A page usage map: which pages belong to a table or index (or, on page 1, which pages are in
// use at all). Stored in a row: either inline (type 0: a start page and a bitmap) or as a list
// of usage map pages (type 1), each a bitmap of its own range of pages.

#include "foundation/engine/jetfile/DataPage.h"
#include "foundation/engine/jetfile/PageFile.h"

#include <set>

namespace engine::jetfile {

struct UsageMap {
    enum class Kind : std::uint8_t { inline_ = 0, pages = 1 };
    Kind kind = Kind::inline_;
    std::uint32_t startPage = 0;         // inline maps
    Bytes bitmap;                        // inline maps
    std::vector<PageNumber> bitmapPages; // page maps: 0 where a range has no page yet
    std::set<PageNumber> pages;          // the pages the map marks

    static UsageMap decodeRow(ByteView row, const PageSource& file);
    Bytes encodeRow() const;
};

// The usage map row a table or index definition points at.
ByteView rowAt(const DataPage& page, std::uint8_t row);
UsageMap readUsageMap(const PageSource& file, std::uint32_t rowPointer);

// A page of type 0x05: a bitmap of the pages of one range.
struct UsageMapPage {
    std::uint16_t reserved = 0;
    Bytes bitmap;

    static UsageMapPage decode(ByteView page);
    Bytes encode() const;
};

} // namespace engine::jetfile

#pragma once

// A usage map row in a working copy, changed one page at a time; every change goes back into
// the running statement at once (the row's page, and the map page it touches).
//
// The database's free-page map (page 1, row 0) reads the other way round: a set bit is a
// free page, and pages past what the map covers count as free. Its map pages start all set.

#include "foundation/engine/jetfile/UsageMap.h"
#include "foundation/engine/jetfile/WorkingCopy.h"

#include <functional>

namespace engine::jetfile {

class UsageMapWriter {
public:
    enum class Meaning { ownedPages, freePages };
    using NewPage = std::function<PageNumber()>;

    UsageMapWriter(WorkingCopy& copy, std::uint32_t rowPointer,
                   Meaning meaning = Meaning::ownedPages);

    // The pages whose bits are set.
    const std::set<PageNumber>& pages() const { return map_.pages; }
    bool contains(PageNumber page) const { return map_.pages.count(page) != 0; }
    UsageMap::Kind kind() const { return map_.kind; }

    // Sets or clears a page's bit. An inline map whose range does not reach the page moves
    // its range, or becomes a map of map pages when its pages no longer fit one range;
    // newPage gives the pages a map needs for itself.
    void set(PageNumber page, bool on, const NewPage& newPage);

private:
    std::size_t inlineBits() const { return map_.bitmap.size() * 8; }
    bool inRange(PageNumber page) const;
    // Past the range of an inline map, or in a range without a map page.
    bool beyondCoverage(PageNumber page) const;
    void setInline(PageNumber page, bool on, const NewPage& newPage);
    void setInMapPage(PageNumber page, bool on, const NewPage& newPage);
    void moveRange(PageNumber start);
    void becomeMapOfPages(const NewPage& newPage);
    void writeRow();

    WorkingCopy& copy_;
    Meaning meaning_;
    RowPointer at_;
    std::size_t rowOffset_ = 0;
    std::size_t rowSize_ = 0;
    UsageMap map_;
};

// Where the free-page map lies.
constexpr std::uint32_t freePageMapRow = 1 << 8; // page 1, row 0

} // namespace engine::jetfile

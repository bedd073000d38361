#include "foundation/engine/jetfile/PageAllocator.h"

namespace engine::jetfile {

namespace {

// Page 0 is the database definition and page 1 holds the free-page map.
constexpr PageNumber firstOrdinaryPage = 2;

} // namespace

PageAllocator::PageAllocator(WorkingCopy& copy)
    : copy_(copy), freePages_(copy, freePageMapRow, UsageMapWriter::Meaning::freePages) {}

PageNumber PageAllocator::allocate() {
    // The map's own pages come from the end of the file, never through the map.
    auto extend = [this] { return copy_.appendPage(); };
    auto reusable = freePages_.pages().lower_bound(firstOrdinaryPage);
    PageNumber page = reusable != freePages_.pages().end() && *reusable < copy_.pageCount()
                          ? *reusable
                          : copy_.appendPage();
    freePages_.set(page, false, extend);
    return page;
}

void PageAllocator::release(PageNumber page) {
    if (page < firstOrdinaryPage || page >= copy_.pageCount())
        throw FormatError("cannot free page " + std::to_string(page));
    copy_.write(page, Bytes(pageSize));
    freePages_.set(page, true, [this] { return copy_.appendPage(); });
}

} // namespace engine::jetfile

#pragma once

// Hands out and takes back pages of a working copy, keeping the database's free-page map
// true: a page listed free inside the file is used first, else the file grows by a page.

#include "foundation/engine/jetfile/UsageMapWriter.h"

namespace engine::jetfile {

class PageAllocator {
public:
    explicit PageAllocator(WorkingCopy& copy);

    // A page for the caller to write in full.
    PageNumber allocate();
    // Blanks the page and lists it free.
    void release(PageNumber page);

    const std::set<PageNumber>& freePages() const { return freePages_.pages(); }

private:
    WorkingCopy& copy_;
    UsageMapWriter freePages_;
};

} // namespace engine::jetfile

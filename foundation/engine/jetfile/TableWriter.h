#pragma once

// Changes the rows of one table in a working copy: its data pages, its two usage maps (the
// pages it owns, and those of them with room) and the row count of its definition. Indexes
// are not touched; rebuild them once the rows are in place.

#include "foundation/engine/jetfile/PageAllocator.h"
#include "foundation/engine/jetfile/TableDefinition.h"

#include <optional>

namespace engine::jetfile {

struct StoredRow;

class TableWriter {
public:
    TableWriter(WorkingCopy& copy, PageAllocator& allocator, PageNumber definitionPage);

    TableDefinition& definition() { return definition_; }
    const TableDefinition& definition() const { return definition_; }

    // The row's place: the last page of the table with room, else a new page.
    RowPointer insert(const StoredRow& row);
    // Marks the row deleted, as Access does, leaving its bytes.
    void remove(RowPointer at);
    // The new bytes go where the row is when they fit; else elsewhere, the row keeping only
    // a pointer to them, so that the row's place (and every pointer to it) stays.
    void replace(RowPointer at, StoredRow row);

    // Writes the definition back (row count, and what index rebuilds changed in it), on more
    // pages or fewer when its size calls for it.
    void saveDefinition();

private:
    RowPointer place(Bytes bytes, bool deleted);
    // Where the live row's bytes moved to; nullopt when they are in place.
    std::optional<RowPointer> movedTo(RowPointer at) const;
    // Flags a row's bytes as no row at all.
    void retire(RowPointer at);
    DataPage readPage(PageNumber page) const;

    WorkingCopy& copy_;
    PageAllocator& allocator_;
    TableDefinition definition_;
    UsageMapWriter ownedPages_;
    UsageMapWriter pagesWithRoom_;
};

} // namespace engine::jetfile

#pragma once

// Rebuilds an index B-tree from its table's rows: packed leaves, and levels of nodes above them
// until one page holds the level. The root stays on the page the definition names; the old
// tree's other pages are used again, more come from the allocator, and those left over are
// freed. The index's page usage map and its count of distinct keys follow.

#include "foundation/engine/jetfile/IndexPage.h"
#include "foundation/engine/jetfile/PageAllocator.h"
#include "foundation/engine/jetfile/TableDefinition.h"

namespace engine::jetfile {

struct IndexShape {
    std::size_t entries = 0;
    std::size_t leaves = 0;
    std::size_t levels = 0; // 1 when the root is a leaf
};

// Changes the index's counters in table; the caller writes the definition back.
IndexShape rebuildIndex(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table,
                        std::size_t physicalIndex);

// Every page of the tree under root, root first.
std::vector<PageNumber> indexTreePages(const PageSource& file, PageNumber root);

// The number of different keys among sorted leaf entries.
std::uint32_t distinctKeys(const std::vector<IndexEntry>& entries);

} // namespace engine::jetfile

#pragma once

// Builds the leaf level of an index from a table's rows: one entry per row (rows whose key
// columns are all null left out when the index ignores nulls), sorted by the entry bytes,
// which puts equal keys in row-pointer order as Access does.

#include "foundation/engine/jetfile/IndexPage.h"
#include "foundation/engine/jetfile/TableDefinition.h"

namespace engine::jetfile {

std::vector<IndexEntry> leafEntriesFromRows(const PageSource& file, const TableDefinition& table,
                                            const PhysicalIndex& index);

// The entries packed into leaf pages in order, each page compressed by the prefix its entries
// share. Page links (previous, next) are left for the caller, who allocates the pages.
std::vector<IndexPage> packLeaves(const std::vector<IndexEntry>& entries, std::uint32_t owner);
// The same for a level of nodes, whose entries end in the child page.
std::vector<IndexPage> packNodes(const std::vector<IndexEntry>& entries, std::uint32_t owner);

} // namespace engine::jetfile

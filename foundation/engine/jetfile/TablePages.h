#pragma once

// The pages a table holds besides its rows: the definition chain, a page of usage map rows
// (the table's two, one per B-tree, two per long-value column with maps of its own, as
// Access lays out a new table), and each B-tree's pages from its root.

#include "foundation/engine/jetfile/PageAllocator.h"
#include "foundation/engine/jetfile/TableDefinition.h"

namespace engine::jetfile {

// Gives a new definition its chain, its usage maps and an empty leaf as each B-tree's root,
// then writes it.
void allocateTablePages(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table);

// A B-tree added to a definition: an empty root and a usage map row listing it, on the page
// of the table's usage maps while it has room.
void allocateIndexPages(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table,
                        PhysicalIndex& index);

// The usage map row of a long-value column added to a definition, with its two maps.
void allocateColumnMaps(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table,
                        ColumnUsageMaps& maps);

// Gives the chain as many pages as the definition needs (new ones from the allocator, the
// last ones freed when it shrinks) and writes it.
void writeDefinition(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table);

// A B-tree the table no longer lists: its pages, its usage map row and the row's page once no
// map of the table is left on it.
void releaseIndexPages(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table,
                       const PhysicalIndex& index);

// The usage maps of a long-value column dropped from the table.
void releaseColumnMaps(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table,
                       const ColumnUsageMaps& maps);

// Every page of the table goes back to the free-page map: the chain, the data and long-value
// pages its maps list, the B-trees, and the pages of its usage maps.
void releaseTablePages(WorkingCopy& copy, PageAllocator& allocator, const TableDefinition& table);

} // namespace engine::jetfile

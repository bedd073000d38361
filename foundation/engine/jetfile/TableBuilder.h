#pragma once

// The table definition Access writes for a new table, from its TableDesign: columns numbered in
// order, fixed-length columns packed in number order, variable-length ones numbered in
// order; each index on a physical index (B-tree) of its own unless one over the same columns
// with the same flags exists (a foreign key takes any over its columns, a unique one first);
// logical indexes numbered in creation order and listed by name. Page numbers, usage map
// pointers and counters stay zero for whoever allocates the pages.

#include "foundation/engine/jetfile/PropertyBlob.h"
#include "foundation/engine/jetfile/TableDesign.h"

namespace engine::jetfile {

TableDefinition buildTableDefinition(const TableDesign& design);
// The properties a new table starts with: Required on each NOT NULL column, the only trace
// NOT NULL leaves.
PropertyBlob buildTableProperties(const TableDesign& design);

// Where a column lies among the others.
struct ColumnPlace {
    std::uint16_t number = 0;
    std::uint16_t index = 0;
    std::uint16_t variableIndex = 0;
    std::uint16_t fixedOffset = 0;
};

// Throws DefinitionRefused for a column Access would not make or this writer cannot.
void checkColumnDesign(const ColumnDesign& design);
ColumnDefinition columnDefinitionOf(const ColumnDesign& design, const ColumnPlace& place);
bool isVariableLength(const ColumnDesign& design);
bool isLongValue(std::uint8_t type);

// The parts of a definition's indexes, for a new table and for an index added to a table.
// columnNumbers: the numbers of the index's columns, in its order.
PhysicalIndex physicalIndexOf(const IndexDesign& design, std::vector<std::uint16_t> columnNumbers);
// The number of the B-tree the index uses: one it can share, else wanted, added last.
std::size_t sharedOrNew(std::vector<PhysicalIndex>& physicals, PhysicalIndex wanted,
                        bool foreignKey);
LogicalIndex logicalIndexOf(const IndexDesign& design, std::size_t number, std::size_t physical);
// Logical indexes are listed by name.
void sortLogicalIndexes(TableDefinition& table);

} // namespace engine::jetfile

#include "RebuildAdjustments.h"

#include "foundation/engine/jetfile/TableDesign.h"

#include <algorithm>
#include <numeric>

namespace rebuildtest {

using namespace engine::jetfile;

namespace {

std::uint32_t miscOf(SortOrder order) {
    return std::uint32_t(order.id) | std::uint32_t(order.version) << 24;
}

} // namespace

std::optional<TableDefinition> withSortOrdersOf(TableDefinition original, SortOrder from,
                                                SortOrder to) {
    for (ColumnDefinition& c : original.columns) {
        if (c.type == column::numeric) // precision and scale instead
            continue;
        if (c.misc != miscOf(newColumnSortOrder(c.type, from)))
            return std::nullopt;
        c.misc = miscOf(newColumnSortOrder(c.type, to));
    }
    return original;
}

TableDefinition withIndexNumbersOf(TableDefinition rebuilt, const TableDefinition& original) {
    for (LogicalIndex& l : rebuilt.logicalIndexes)
        for (const LogicalIndex& o : original.logicalIndexes)
            if (o.name == l.name)
                l.number = o.number;
    std::vector<std::uint32_t> firstUse(rebuilt.physicalIndexes.size(), UINT32_MAX);
    for (const LogicalIndex& l : rebuilt.logicalIndexes)
        firstUse.at(l.physicalIndex) = std::min(firstUse.at(l.physicalIndex), l.number);
    std::vector<std::uint32_t> order(firstUse.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return firstUse[a] < firstUse[b]; });
    std::vector<PhysicalIndex> physical;
    std::vector<std::uint32_t> position(order.size());
    for (std::uint32_t p : order) {
        position[p] = std::uint32_t(physical.size());
        physical.push_back(rebuilt.physicalIndexes[p]);
    }
    rebuilt.physicalIndexes = std::move(physical);
    for (LogicalIndex& l : rebuilt.logicalIndexes)
        l.physicalIndex = position[l.physicalIndex];
    return rebuilt;
}

} // namespace rebuildtest

#include "foundation/engine/jetfile/IndexChange.h"

#include "foundation/engine/jetfile/Names.h"
#include "foundation/engine/jetfile/TableBuilder.h"
#include "foundation/text/WideString.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

std::vector<std::uint16_t> columnNumbersOf(const TableDefinition& table,
                                           const IndexDesign& design) {
    std::vector<std::uint16_t> numbers;
    for (const IndexColumnDesign& c : design.columns) {
        auto found =
            std::find_if(table.columns.begin(), table.columns.end(),
                         [&](const ColumnDefinition& d) { return sameName(d.name, c.column); });
        if (found == table.columns.end())
            throw DefinitionRefused("Index '" + text::toUtf8(design.name) + "' names no field '" +
                                    text::toUtf8(c.column) + "'.");
        numbers.push_back(found->number);
    }
    return numbers;
}

} // namespace

std::size_t addIndex(TableDefinition& table, const IndexDesign& design) {
    for (const LogicalIndex& l : table.logicalIndexes) {
        if (sameName(l.name, design.name))
            throw DefinitionRefused("Index '" + text::toUtf8(design.name) + "' already exists.");
        if (design.primary && l.kind == index::primaryKind)
            throw DefinitionRefused("Primary key already exists.");
    }
    PhysicalIndex wanted = physicalIndexOf(design, columnNumbersOf(table, design));
    std::size_t physical =
        sharedOrNew(table.physicalIndexes, std::move(wanted), design.foreignKey.has_value());
    table.logicalIndexes.push_back(logicalIndexOf(design, table.logicalIndexes.size(), physical));
    sortLogicalIndexes(table);
    return physical;
}

std::optional<PhysicalIndex> dropIndex(TableDefinition& table, std::u16string_view name) {
    auto dropped = std::find_if(table.logicalIndexes.begin(), table.logicalIndexes.end(),
                                [&](const LogicalIndex& l) { return sameName(l.name, name); });
    if (dropped == table.logicalIndexes.end())
        throw DefinitionRefused("Index '" + text::toUtf8(name) + "' does not exist.");
    std::uint32_t number = dropped->number;
    std::uint32_t physical = dropped->physicalIndex;
    table.logicalIndexes.erase(dropped);
    bool shared = false;
    for (LogicalIndex& l : table.logicalIndexes) {
        if (l.number > number)
            --l.number;
        shared = shared || l.physicalIndex == physical;
    }
    if (shared)
        return std::nullopt;
    PhysicalIndex tree = table.physicalIndexes.at(physical);
    table.physicalIndexes.erase(table.physicalIndexes.begin() + physical);
    for (LogicalIndex& l : table.logicalIndexes)
        if (l.physicalIndex > physical)
            --l.physicalIndex;
    return tree;
}

} // namespace engine::jetfile

#include "foundation/engine/jetfile/ColumnChange.h"

#include "foundation/engine/jetfile/Names.h"
#include "foundation/engine/jetfile/TableBuilder.h"
#include "foundation/text/WideString.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

constexpr std::size_t maxColumns = 255;

std::size_t fixedAreaSize(const TableDefinition& table) {
    std::size_t end = 0;
    for (const ColumnDefinition& c : table.columns)
        if (c.isFixedLength())
            end = std::max(end, std::size_t(c.fixedOffset) + fixedColumnSize(c));
    return end;
}

std::size_t variableEntries(const TableDefinition& table) {
    std::size_t entries = 0;
    for (const ColumnDefinition& c : table.columns)
        if (!c.isFixedLength())
            entries = std::max(entries, std::size_t(c.variableIndex) + 1);
    return entries;
}

bool inAnIndex(const TableDefinition& table, std::uint16_t number) {
    for (const PhysicalIndex& index : table.physicalIndexes)
        for (const IndexColumn& c : index.columns())
            if (c.columnNumber == number)
                return true;
    return false;
}

} // namespace

TableDefinition withColumnAdded(const TableDefinition& table, std::u16string_view tableName,
                                const ColumnDesign& column) {
    checkColumnDesign(column);
    for (const ColumnDefinition& c : table.columns)
        if (sameName(c.name, column.name))
            throw DefinitionRefused("Field '" + text::toUtf8(column.name) +
                                    "' already exists in table '" + text::toUtf8(tableName) + "'.");
    if (table.columns.size() >= maxColumns || table.maxColumns == 0xFFFF)
        throw DefinitionRefused("Too many fields defined.");
    ColumnPlace place;
    place.number = table.maxColumns;
    for (const ColumnDefinition& c : table.columns)
        place.index = std::max<std::uint16_t>(place.index, std::uint16_t(c.index + 1));
    place.variableIndex = std::uint16_t(variableEntries(table));
    bool variable = isVariableLength(column);
    if (!variable && column.type != column::boolean)
        place.fixedOffset = std::uint16_t(fixedAreaSize(table));
    TableDefinition changed = table;
    changed.columns.push_back(columnDefinitionOf(column, place));
    changed.maxColumns = std::uint16_t(table.maxColumns + 1);
    if (variable)
        ++changed.variableColumnCount;
    if (isLongValue(column.type))
        changed.columnUsageMaps.push_back({place.number, 0, 0});
    return changed;
}

TableDefinition withColumnDropped(const TableDefinition& table, std::u16string_view column) {
    auto found = std::find_if(table.columns.begin(), table.columns.end(),
                              [&](const ColumnDefinition& c) { return sameName(c.name, column); });
    if (found == table.columns.end())
        throw DefinitionRefused("Field '" + text::toUtf8(column) +
                                "' does not exist in the table.");
    if (inAnIndex(table, found->number))
        throw DefinitionRefused(
            "Cannot delete a field that is part of an index or is needed by the system.");
    ColumnDefinition dropped = *found;
    TableDefinition changed = table;
    changed.columns.erase(changed.columns.begin() + (found - table.columns.begin()));
    for (ColumnDefinition& c : changed.columns)
        if (c.index > dropped.index)
            --c.index;
    if (!dropped.isFixedLength())
        --changed.variableColumnCount;
    std::erase_if(changed.columnUsageMaps,
                  [&](const ColumnUsageMaps& m) { return m.columnNumber == dropped.number; });
    return changed;
}

ColumnValue columnValue(const StoredRow& row, const ColumnDefinition& column) {
    if (column.type == column::boolean)
        return row.hasValue(column.number) ? ColumnValue(Bytes()) : std::nullopt;
    std::optional<ByteView> value = row.value(column);
    if (!value)
        return std::nullopt;
    return value->copy();
}

StoredRow rewriteRow(const StoredRow& row, const TableDefinition& from, const TableDefinition& to,
                     const ColumnValue& addedValue) {
    StoredRow out;
    out.columnCount = to.maxColumns;
    out.nullMask.assign((std::size_t(to.maxColumns) + 7) / 8, 0);
    out.fixed.assign(fixedAreaSize(to), 0);
    out.hasVariableTable = to.variableColumnCount > 0;
    out.variable.resize(variableEntries(to));
    for (const ColumnDefinition& c : to.columns) {
        const ColumnDefinition* old = from.columnByNumber(c.number);
        ColumnValue value = old != nullptr ? columnValue(row, *old) : addedValue;
        if (!value)
            continue;
        if (c.number >= to.maxColumns)
            throw FormatError("column number " + std::to_string(c.number) +
                              " beyond the table's column count");
        out.nullMask[c.number / 8] |= std::uint8_t(1 << (c.number % 8));
        if (c.type == column::boolean)
            continue;
        if (!c.isFixedLength()) {
            out.variable[c.variableIndex] = std::move(*value);
            continue;
        }
        if (value->size() != fixedColumnSize(c))
            throw FormatError("a value of " + std::to_string(value->size()) +
                              " bytes for a column of " + std::to_string(fixedColumnSize(c)));
        putBytes(out.fixed, c.fixedOffset, *value);
    }
    return out;
}

} // namespace engine::jetfile

#include "foundation/engine/jetfile/RowBuilder.h"

#include <algorithm>

namespace engine::jetfile {

StoredRow buildRow(const TableDefinition& table, const ColumnValues& values) {
    StoredRow row;
    std::size_t fixedSize = 0;
    std::size_t variableCount = 0;
    for (const ColumnDefinition& column : table.columns) {
        row.columnCount =
            std::max<std::uint16_t>(row.columnCount, std::uint16_t(column.number + 1));
        if (column.isFixedLength())
            fixedSize = std::max(fixedSize, column.fixedOffset + fixedColumnSize(column));
        else
            variableCount = std::max<std::size_t>(variableCount, column.variableIndex + 1u);
    }
    row.fixed.assign(fixedSize, 0);
    row.hasVariableTable = table.variableColumnCount > 0;
    row.variable.resize(row.hasVariableTable ? variableCount : 0);
    row.nullMask.assign((row.columnCount + 7) / 8, 0);
    for (const auto& [number, bytes] : values) {
        const ColumnDefinition* column = table.columnByNumber(number);
        if (!column)
            throw FormatError("the table has no column " + std::to_string(number));
        bool present = column->type != column::boolean || (!bytes.empty() && bytes[0] != 0);
        if (present)
            row.nullMask[number / 8] |= std::uint8_t(1 << (number % 8));
        if (column->type == column::boolean)
            continue;
        if (column->isFixedLength()) {
            if (bytes.size() != fixedColumnSize(*column))
                throw FormatError("a value of " + std::to_string(bytes.size()) +
                                  " bytes for a fixed column of " +
                                  std::to_string(fixedColumnSize(*column)));
            std::copy(bytes.begin(), bytes.end(), row.fixed.begin() + column->fixedOffset);
        } else {
            row.variable.at(column->variableIndex) = bytes;
        }
    }
    return row;
}

} // namespace engine::jetfile

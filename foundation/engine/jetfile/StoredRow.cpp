#include "foundation/engine/jetfile/StoredRow.h"

namespace engine::jetfile {

std::size_t fixedColumnSize(const ColumnDefinition& column) {
    switch (column.type) {
    case column::boolean:
        return 0;
    case column::byte:
        return 1;
    case column::integer:
        return 2;
    case column::longInteger:
    case column::single:
    case column::complex:
        return 4;
    case column::money:
    case column::doubleType:
    case column::dateTime:
        return 8;
    case column::guid:
        return 16;
    case column::numeric:
        return 17;
    default:
        return column.length;
    }
}

StoredRow StoredRow::decode(ByteView row, const TableDefinition& table) {
    StoredRow decoded;
    decoded.columnCount = row.u16(0);
    std::size_t maskSize = (std::size_t(decoded.columnCount) + 7) / 8;
    if (row.size() < 2 + maskSize)
        throw FormatError("row shorter than its null mask");
    std::size_t maskAt = row.size() - maskSize;
    decoded.nullMask = row.copy(maskAt, maskSize);
    decoded.hasVariableTable = table.variableColumnCount > 0;
    if (!decoded.hasVariableTable) {
        decoded.fixed = row.copy(2, maskAt - 2);
        return decoded;
    }
    std::size_t count = row.u16(maskAt - 2);
    std::size_t tableAt = maskAt - 2 - 2 * count;
    if (tableAt < 4 || tableAt > maskAt)
        throw FormatError("variable offset table outside its row");
    std::size_t eodAt = tableAt - 2;
    std::size_t end = row.u16(eodAt);
    if (end > eodAt)
        throw FormatError("end-of-data offset beyond the offset table");
    decoded.padding = row.copy(end, eodAt - end);
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < count; ++i)
        offsets.push_back(row.u16(maskAt - 4 - 2 * i));
    offsets.push_back(end);
    std::size_t fixedEnd = offsets.front();
    if (fixedEnd < 2)
        throw FormatError("variable data overlaps the column count");
    decoded.fixed = row.copy(2, fixedEnd - 2);
    for (std::size_t i = 0; i < count; ++i) {
        if (offsets[i + 1] < offsets[i])
            throw FormatError("variable offsets out of order");
        decoded.variable.push_back(row.copy(offsets[i], offsets[i + 1] - offsets[i]));
    }
    return decoded;
}

Bytes StoredRow::encode() const {
    Bytes out;
    appendU16(out, columnCount);
    appendBytes(out, fixed);
    if (hasVariableTable) {
        std::vector<std::uint16_t> offsets;
        for (const Bytes& value : variable) {
            offsets.push_back(std::uint16_t(out.size()));
            appendBytes(out, value);
        }
        std::uint16_t end = std::uint16_t(out.size());
        appendBytes(out, padding);
        appendU16(out, end);
        for (auto it = offsets.rbegin(); it != offsets.rend(); ++it)
            appendU16(out, *it);
        appendU16(out, std::uint16_t(variable.size()));
    }
    appendBytes(out, nullMask);
    return out;
}

bool StoredRow::hasValue(std::uint16_t columnNumber) const {
    if (columnNumber >= columnCount || std::size_t(columnNumber / 8) >= nullMask.size())
        return false;
    return (nullMask[columnNumber / 8] & (1 << (columnNumber % 8))) != 0;
}

std::optional<ByteView> StoredRow::value(const ColumnDefinition& column) const {
    if (!hasValue(column.number))
        return std::nullopt;
    if (column.isFixedLength()) {
        std::size_t size = fixedColumnSize(column);
        if (std::size_t(column.fixedOffset) + size > fixed.size())
            return std::nullopt;
        return ByteView(fixed).sub(column.fixedOffset, size);
    }
    if (column.variableIndex >= variable.size())
        return std::nullopt;
    return ByteView(variable[column.variableIndex]);
}

} // namespace engine::jetfile

#include "foundation/engine/jetfile/IndexKey.h"

#include "foundation/engine/jetfile/LongValue.h"
#include "foundation/engine/jetfile/Text.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

constexpr std::uint8_t ascendingStart = 0x7F;
constexpr std::uint8_t descendingStart = 0x80;
constexpr std::uint8_t ascendingNull = 0x00;
constexpr std::uint8_t descendingNull = 0xFF;
constexpr std::uint16_t generalSortOrder = 0x409;
constexpr std::size_t binarySegment = 8;

void invert(Bytes& bytes, std::size_t from = 0) {
    for (std::size_t i = from; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(~bytes[i]);
}

Bytes bigEndian(ByteView stored) {
    Bytes bytes = stored.copy();
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

// Two's complement integers: the sign bit flipped sorts negatives first.
Bytes integerKey(ByteView stored, bool ascending) {
    Bytes bytes = bigEndian(stored);
    bytes[0] ^= 0x80;
    if (!ascending)
        invert(bytes);
    return bytes;
}

// IEEE numbers: positives get the sign bit set, negatives are inverted whole.
Bytes realKey(ByteView stored, bool ascending) {
    Bytes bytes = bigEndian(stored);
    bool negative = (bytes[0] & 0x80) != 0;
    if (!negative)
        bytes[0] ^= 0x80;
    if (negative == ascending)
        invert(bytes);
    return bytes;
}

// Decimals: a sign byte and a 16-byte magnitude stored as four little-endian words.
Bytes decimalKey(ByteView stored, bool ascending, bool ace) {
    Bytes bytes = stored.copy();
    for (std::size_t word = 1; word + 4 <= bytes.size(); word += 4)
        std::reverse(bytes.begin() + std::ptrdiff_t(word),
                     bytes.begin() + std::ptrdiff_t(word + 4));
    bool negative = (bytes[0] & 0x80) != 0;
    // Jet 4 sorted descending decimals wrongly; ACE sets the sign byte before inverting.
    if (ace) {
        bytes[0] = 0xFF;
        if (negative == ascending)
            invert(bytes);
    } else {
        if (negative == ascending)
            invert(bytes);
        bytes[0] = negative ? 0x00 : 0xFF;
    }
    return bytes;
}

// Binary values: 8-byte segments, each followed by 9 when more follow, else by its length.
Bytes binaryKey(ByteView stored, bool ascending) {
    Bytes out;
    std::size_t size = stored.size();
    std::size_t at = 0;
    while (size - at > binarySegment) {
        Bytes segment = stored.copy(at, binarySegment);
        if (!ascending)
            invert(segment);
        appendBytes(out, segment);
        out.push_back(9);
        at += binarySegment;
    }
    if (size > at) {
        Bytes segment = stored.copy(at, size - at);
        segment.resize(binarySegment);
        segment.push_back(std::uint8_t(size - at));
        if (!ascending)
            invert(segment);
        appendBytes(out, segment);
    }
    return out;
}

// A GUID's first three fields are stored little-endian; the key takes them big-endian.
Bytes guidKey(ByteView stored, bool ascending) {
    Bytes bytes = stored.copy();
    std::reverse(bytes.begin(), bytes.begin() + 4);
    std::reverse(bytes.begin() + 4, bytes.begin() + 6);
    std::reverse(bytes.begin() + 6, bytes.begin() + 8);
    return binaryKey(bytes, ascending);
}

std::u16string textValue(const PageSource& file, const ColumnDefinition& column, ByteView stored) {
    if (column.type == column::memo)
        return decodeText(readLongValue(file, stored));
    return decodeText(stored);
}

void appendColumnKey(Bytes& out, const PageSource& file, const ColumnDefinition& column,
                     const StoredRow& row, bool ascending) {
    if (column.type == column::boolean) {
        // Yes/No columns are never null in a key.
        out.push_back(ascending ? ascendingStart : descendingStart);
        bool yes = row.hasValue(column.number);
        out.push_back((yes == ascending) ? 0x00 : 0xFF);
        return;
    }
    auto value = row.value(column);
    if (!value) {
        out.push_back(ascending ? ascendingNull : descendingNull);
        return;
    }
    out.push_back(ascending ? ascendingStart : descendingStart);
    const bool ace = file.format().isAce();
    switch (column.type) {
    case column::byte: {
        Bytes bytes = value->copy();
        if (!ascending)
            invert(bytes);
        appendBytes(out, bytes);
        return;
    }
    case column::integer:
    case column::longInteger:
    case column::money:
    case column::complex:
        appendBytes(out, integerKey(*value, ascending));
        return;
    case column::single:
    case column::doubleType:
    case column::dateTime:
        appendBytes(out, realKey(*value, ascending));
        return;
    case column::numeric:
        appendBytes(out, decimalKey(*value, ascending, ace));
        return;
    case column::guid:
        appendBytes(out, guidKey(*value, ascending));
        return;
    case column::binary:
        appendBytes(out, binaryKey(*value, ascending));
        return;
    case column::text:
    case column::memo:
        appendTextKey(out, textValue(file, column, *value), textOrderOf(column, file.format()),
                      ascending);
        return;
    default:
        throw UnsupportedKey("no key encoding for column type " + std::to_string(column.type));
    }
}

} // namespace

TextOrder textOrderOf(const ColumnDefinition& column, const Format& format) {
    std::uint16_t id = column.sortOrderId();
    if (id == 0)
        return format.isAce() ? TextOrder::aceGeneral : TextOrder::jet4General;
    if (id != generalSortOrder)
        throw UnsupportedKey("text sort order " + std::to_string(id));
    switch (column.sortOrderVersion()) {
    case 0:
        return TextOrder::jet4General;
    case 1:
        return TextOrder::aceGeneral;
    default:
        throw UnsupportedKey("General sort order version " +
                             std::to_string(column.sortOrderVersion()));
    }
}

Bytes indexKey(const PageSource& file, const TableDefinition& table, const PhysicalIndex& index,
               const StoredRow& row) {
    Bytes key;
    for (const IndexColumn& part : index.columns()) {
        const ColumnDefinition* column = table.columnByNumber(part.columnNumber);
        if (!column)
            throw FormatError("index on a missing column");
        appendColumnKey(key, file, *column, row, part.ascending);
    }
    return key;
}

} // namespace engine::jetfile

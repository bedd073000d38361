#include "foundation/engine/jetfile/DataPage.h"

#include "foundation/engine/jetfile/PageTypes.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

constexpr std::size_t rowCountAt = 12;
constexpr std::size_t offsetsAt = 14;
constexpr std::uint16_t deletedFlag = 0x8000;
constexpr std::uint16_t overflowFlag = 0x4000;
constexpr std::uint16_t offsetMask = 0x1FFF;
constexpr std::size_t offsetEntrySize = 2;
// Row numbers are one byte in row pointers.
constexpr std::size_t maxRowsPerPage = 255;

} // namespace

bool DataPage::holdsLongValues() const {
    return owner == page::longValueOwner;
}

DataPage DataPage::empty(std::uint32_t owner) {
    DataPage page;
    page.owner = owner;
    page.freeSpace = std::uint16_t(pageSize - offsetsAt);
    return page;
}

bool DataPage::hasRoomFor(std::size_t rowSize) const {
    auto [tableEnd, lowest] = unusedArea();
    return rows.size() < maxRowsPerPage && rowSize + offsetEntrySize <= freeSpace &&
           tableEnd + offsetEntrySize + rowSize <= lowest;
}

std::uint8_t DataPage::addRow(Bytes bytes, bool deleted) {
    if (!hasRoomFor(bytes.size()))
        throw FormatError("row of " + std::to_string(bytes.size()) +
                          " bytes does not fit its page");
    std::size_t lowest = unusedArea().second;
    DataRow row;
    row.offset = std::uint16_t(lowest - bytes.size());
    row.deleted = deleted;
    freeSpace = std::uint16_t(freeSpace - bytes.size() - offsetEntrySize);
    row.bytes = std::move(bytes);
    rows.push_back(std::move(row));
    return std::uint8_t(rows.size() - 1);
}

DataPage DataPage::decode(ByteView bytes) {
    if (bytes.size() != pageSize || bytes.u8(0) != page::data || bytes.u8(1) != 1)
        throw FormatError("not a data page");
    DataPage decoded;
    decoded.freeSpace = bytes.u16(2);
    decoded.owner = bytes.u32(4);
    decoded.reserved = bytes.u32(8);
    std::size_t count = bytes.u16(rowCountAt);
    std::size_t tableEnd = offsetsAt + 2 * count;
    std::vector<std::uint16_t> starts;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint16_t raw = bytes.u16(offsetsAt + 2 * i);
        std::uint16_t start = raw & offsetMask;
        if (start < tableEnd || start > pageSize)
            throw FormatError("row offset outside the page");
        decoded.rows.push_back({start, (raw & deletedFlag) != 0, (raw & overflowFlag) != 0, {}});
        starts.push_back(start);
    }
    std::sort(starts.begin(), starts.end());
    for (DataRow& row : decoded.rows) {
        auto above = std::upper_bound(starts.begin(), starts.end(), row.offset);
        std::size_t end = above == starts.end() ? pageSize : *above;
        row.bytes = bytes.copy(row.offset, end - row.offset);
    }
    return decoded;
}

Bytes DataPage::encode() const {
    Bytes out(pageSize);
    putU8(out, 0, page::data);
    putU8(out, 1, 1);
    putU16(out, 2, freeSpace);
    putU32(out, 4, owner);
    putU32(out, 8, reserved);
    putU16(out, rowCountAt, std::uint16_t(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DataRow& row = rows[i];
        std::uint16_t raw =
            row.offset | (row.deleted ? deletedFlag : 0) | (row.overflow ? overflowFlag : 0);
        putU16(out, offsetsAt + 2 * i, raw);
    }
    // Access leaves deleted rows at the offset of a live row (MSysObjects of
    // compIndexTestV2003.mdb, page 14): their bytes go first, so that the live row's win.
    for (bool live : {false, true})
        for (const DataRow& row : rows)
            if (row.deleted != live)
                putBytes(out, row.offset, row.bytes);
    return out;
}

std::pair<std::size_t, std::size_t> DataPage::unusedArea() const {
    std::size_t lowest = pageSize;
    for (const DataRow& row : rows)
        lowest = std::min<std::size_t>(lowest, row.offset);
    return {offsetsAt + 2 * rows.size(), lowest};
}

} // namespace engine::jetfile

#include "foundation/engine/mdbfile/TableDefinition.h"

#include <set>
#include <string>

namespace engine::mdbfile {

namespace {

constexpr std::uint8_t definitionPageType = 0x02;
constexpr std::size_t pageHeaderSize = 8;
constexpr std::size_t maxDefinitionPages = 1024;
constexpr int indexColumnSlots = 10;
constexpr int noColumn = 0xFFFF;

// Offsets of one file format's table definition.
struct Layout {
    std::size_t columnCount, logicalCount, physicalCount, firstEntry;
    std::size_t physicalCountEntrySize; // the per-index row counts before the columns
    std::size_t columnEntrySize, columnNumber, columnFlags, columnLength;
    std::size_t nameLengthSize;
    std::size_t physicalEntrySize, physicalColumns, physicalFlags;
    std::size_t logicalEntrySize, logicalPhysical, logicalForeignSide, logicalType;
};

constexpr Layout jet3Layout{25, 27, 31, 43, 8, 18, 1, 13, 16, 1, 39, 0, 38, 20, 4, 8, 19};
constexpr Layout jet4Layout{45, 47, 51, 63, 12, 25, 5, 15, 23, 2, 52, 4, 46, 28, 8, 12, 23};

// Jet 4 only: the extra flags, numeric precision and scale, and the complex-column id.
constexpr std::size_t jet4ExtraFlags = 16;
constexpr std::size_t jet4Precision = 11;
constexpr std::size_t jet4Scale = 12;
constexpr std::size_t jet4ComplexId = 11;
constexpr int decimalType = 0x10;
constexpr int complexType = 0x12;

class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    void seek(std::size_t position) {
        require(position, 0);
        position_ = position;
    }
    void skip(std::size_t count) {
        require(position_, count);
        position_ += count;
    }
    std::size_t position() const { return position_; }

    std::uint32_t at(std::size_t offset, std::size_t width) const {
        require(offset, width);
        std::uint32_t value = 0;
        for (std::size_t i = width; i-- > 0;)
            value = (value << 8) | bytes_[offset + i];
        return value;
    }
    std::uint32_t read(std::size_t width) {
        std::uint32_t value = at(position_, width);
        position_ += width;
        return value;
    }

private:
    void require(std::size_t offset, std::size_t width) const {
        if (offset > bytes_.size() || width > bytes_.size() - offset)
            throw DamagedFile("table definition ends early");
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

std::size_t checkedCount(std::uint32_t count, std::size_t limit, const char* what) {
    if (count > limit)
        throw DamagedFile(std::string("absurd count of ") + what);
    return count;
}

RawColumn readColumn(const Cursor& c, std::size_t entry, const Layout& layout, bool jet3) {
    RawColumn column;
    column.type = int(c.at(entry, 1));
    column.number = int(c.at(entry + layout.columnNumber, 2));
    column.flags = std::uint8_t(c.at(entry + layout.columnFlags, 1));
    column.length = int(c.at(entry + layout.columnLength, 2));
    if (jet3)
        return column;
    column.compressedUnicode = (c.at(entry + jet4ExtraFlags, 1) & 0x01) != 0;
    if (column.type == decimalType) {
        column.precision = int(c.at(entry + jet4Precision, 1));
        column.scale = int(c.at(entry + jet4Scale, 1));
    }
    if (column.type == complexType)
        column.complexId = c.at(entry + jet4ComplexId, 4);
    return column;
}

RawPhysicalIndex readPhysicalIndex(const Cursor& c, std::size_t entry, const Layout& layout) {
    RawPhysicalIndex index;
    for (int slot = 0; slot < indexColumnSlots; ++slot) {
        std::size_t at = entry + layout.physicalColumns + std::size_t(slot) * 3;
        int number = int(c.at(at, 2));
        if (number == noColumn)
            continue;
        index.columns.push_back({number, c.at(at + 2, 1) != 0});
    }
    index.flags = std::uint8_t(c.at(entry + layout.physicalFlags, 1));
    return index;
}

std::u16string readName(Cursor& c, const Layout& layout, std::span<const std::uint8_t> bytes,
                        const NameDecoder& decodeName) {
    std::size_t length = c.read(layout.nameLengthSize);
    std::size_t start = c.position();
    c.skip(length);
    return decodeName(bytes.subspan(start, length));
}

} // namespace

std::vector<std::uint8_t> readDefinitionPages(const PageReader& read, std::uint32_t firstPage,
                                              std::size_t pageSize) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> page(pageSize);
    std::set<std::uint32_t> seen;
    for (std::uint32_t number = firstPage; number != 0;) {
        if (!seen.insert(number).second || seen.size() > maxDefinitionPages)
            throw DamagedFile("table definition pages form a loop");
        if (!read(number, page) || page[0] != definitionPageType)
            throw DamagedFile("table definition page missing");
        bytes.insert(bytes.end(), page.begin() + (bytes.empty() ? 0 : pageHeaderSize), page.end());
        number = std::uint32_t(page[4]) | std::uint32_t(page[5]) << 8 |
                 std::uint32_t(page[6]) << 16 | std::uint32_t(page[7]) << 24;
    }
    return bytes;
}

TableDefinition parseTableDefinition(std::span<const std::uint8_t> bytes, bool jet3,
                                     const NameDecoder& decodeName) {
    const Layout& layout = jet3 ? jet3Layout : jet4Layout;
    Cursor c(bytes);
    // No count can exceed what the bytes could hold.
    std::size_t columnCount = checkedCount(c.at(layout.columnCount, 2), bytes.size(), "columns");
    std::size_t logicalCount = checkedCount(c.at(layout.logicalCount, 4), bytes.size(), "indexes");
    std::size_t physicalCount =
        checkedCount(c.at(layout.physicalCount, 4), bytes.size(), "index entries");

    TableDefinition definition;
    c.seek(layout.firstEntry);
    c.skip(physicalCount * layout.physicalCountEntrySize);
    for (std::size_t i = 0; i < columnCount; ++i) {
        definition.columns.push_back(readColumn(c, c.position(), layout, jet3));
        c.skip(layout.columnEntrySize);
    }
    for (RawColumn& column : definition.columns)
        column.name = readName(c, layout, bytes, decodeName);
    for (std::size_t i = 0; i < physicalCount; ++i) {
        definition.physical.push_back(readPhysicalIndex(c, c.position(), layout));
        c.skip(layout.physicalEntrySize);
    }
    for (std::size_t i = 0; i < logicalCount; ++i) {
        std::size_t entry = c.position();
        RawLogicalIndex index;
        index.physical = int(c.at(entry + layout.logicalPhysical, 4));
        index.foreignSide = int(c.at(entry + layout.logicalForeignSide, 1));
        index.type = int(c.at(entry + layout.logicalType, 1));
        if (std::size_t(index.physical) >= physicalCount)
            throw DamagedFile("index refers to a missing index entry");
        definition.logical.push_back(index);
        c.skip(layout.logicalEntrySize);
    }
    for (RawLogicalIndex& index : definition.logical)
        index.name = readName(c, layout, bytes, decodeName);
    return definition;
}

} // namespace engine::mdbfile

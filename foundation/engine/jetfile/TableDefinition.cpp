#include "foundation/engine/jetfile/TableDefinition.h"

#include "foundation/engine/jetfile/PageTypes.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

constexpr std::size_t pageHeaderSize = 8;
constexpr std::size_t pageCapacity = pageSize - pageHeaderSize;
constexpr std::size_t slotSize = 12;
constexpr std::size_t columnSize = 25;
constexpr std::size_t physicalIndexSize = 52;
constexpr std::size_t logicalIndexSize = 28;
constexpr std::size_t maxIndexColumns = 10;
constexpr std::uint16_t endOfColumnUsageMaps = 0xFFFF;

// Offsets within the block (the page offsets less the 8-byte page header).
constexpr std::size_t lengthAt = 0;
constexpr std::size_t fixedHeaderSize = 55;

class Cursor {
public:
    explicit Cursor(ByteView bytes) : bytes_(bytes) {}
    std::uint8_t u8() { return bytes_.u8(advance(1)); }
    std::uint16_t u16() { return bytes_.u16(advance(2)); }
    std::uint32_t u32() { return bytes_.u32(advance(4)); }
    Bytes copy(std::size_t count) { return bytes_.copy(advance(count), count); }
    std::u16string name() {
        std::size_t length = u16();
        if (length % 2 != 0)
            throw FormatError("odd length of a name in a table definition");
        std::size_t at = advance(length);
        std::u16string name;
        for (std::size_t i = 0; i < length; i += 2)
            name.push_back(char16_t(bytes_.u16(at + i)));
        return name;
    }
    std::size_t position() const { return at_; }
    void seek(std::size_t at) { at_ = at; }

private:
    std::size_t advance(std::size_t count) {
        std::size_t at = at_;
        at_ += count;
        return at;
    }

    ByteView bytes_;
    std::size_t at_ = 0;
};

void appendName(Bytes& out, const std::u16string& name) {
    appendU16(out, std::uint16_t(name.size() * 2));
    for (char16_t unit : name)
        appendU16(out, std::uint16_t(unit));
}

ColumnDefinition decodeColumn(Cursor& in) {
    ColumnDefinition c;
    c.type = in.u8();
    c.reserved1 = in.u32();
    c.number = in.u16();
    c.variableIndex = in.u16();
    c.index = in.u16();
    c.misc = in.u32();
    c.flags = in.u8();
    c.extendedFlags = in.u8();
    c.reserved17 = in.u32();
    c.fixedOffset = in.u16();
    c.length = in.u16();
    return c;
}

void encodeColumn(Bytes& out, const ColumnDefinition& c) {
    appendU8(out, c.type);
    appendU32(out, c.reserved1);
    appendU16(out, c.number);
    appendU16(out, c.variableIndex);
    appendU16(out, c.index);
    appendU32(out, c.misc);
    appendU8(out, c.flags);
    appendU8(out, c.extendedFlags);
    appendU32(out, c.reserved17);
    appendU16(out, c.fixedOffset);
    appendU16(out, c.length);
}

} // namespace

std::vector<IndexColumn> PhysicalIndex::columns() const {
    std::vector<IndexColumn> list;
    for (std::size_t i = 0; i < columnNumbers.size(); ++i)
        if (columnNumbers[i] != unusedIndexColumn)
            list.push_back({columnNumbers[i], columnOrders[i] == 1});
    return list;
}

const ColumnDefinition* TableDefinition::columnByNumber(std::uint16_t number) const {
    for (const ColumnDefinition& c : columns)
        if (c.number == number)
            return &c;
    return nullptr;
}

TableDefinition TableDefinition::read(const PageSource& file, PageNumber first) {
    Bytes block;
    std::vector<PageNumber> chain;
    std::size_t length = 0;
    for (PageNumber next = first; next != 0;) {
        if (chain.size() > file.pageCount() ||
            std::find(chain.begin(), chain.end(), next) != chain.end())
            throw FormatError("table definition pages form a loop");
        Bytes page = file.read(next);
        ByteView view(page);
        if (view.u8(0) != page::tableDefinition)
            throw FormatError("page " + std::to_string(next) + " is not a table definition");
        chain.push_back(next);
        if (chain.size() == 1)
            length = view.u32(pageHeaderSize + lengthAt);
        std::size_t share = std::min(pageCapacity, length - std::min(length, block.size()));
        appendBytes(block, view.span().subspan(pageHeaderSize, share));
        next = view.u32(4);
    }
    if (block.size() != length)
        throw FormatError("table definition shorter than its stated length");
    TableDefinition definition = decode(block);
    definition.pages = std::move(chain);
    return definition;
}

TableDefinition TableDefinition::decode(ByteView block) {
    Cursor in(block);
    TableDefinition t;
    std::uint32_t length = in.u32();
    if (length != block.size())
        throw FormatError("table definition length does not match its block");
    t.reserved12 = in.u32();
    t.rowCount = in.u32();
    t.nextAutoNumber = in.u32();
    t.autoNumberFlag = in.u8();
    t.reserved25 = in.copy(3);
    t.nextComplexAutoNumber = in.u32();
    t.reserved32 = in.copy(8);
    t.tableType = in.u8();
    t.maxColumns = in.u16();
    t.variableColumnCount = in.u16();
    std::size_t columnCount = in.u16();
    std::size_t logicalCount = in.u32();
    std::size_t physicalCount = in.u32();
    if (columnCount > 4096 || logicalCount > 1024 || physicalCount > 1024)
        throw FormatError("implausible counts in a table definition");
    t.usedPages = in.u32();
    t.freePages = in.u32();
    t.physicalIndexes.resize(physicalCount);
    for (PhysicalIndex& index : t.physicalIndexes) {
        index.slotReserved0 = in.u32();
        index.rowCount = in.u32();
        index.slotReserved8 = in.u32();
    }
    for (std::size_t i = 0; i < columnCount; ++i)
        t.columns.push_back(decodeColumn(in));
    for (ColumnDefinition& c : t.columns)
        c.name = in.name();
    for (PhysicalIndex& index : t.physicalIndexes) {
        index.reserved0 = in.u32();
        for (std::size_t i = 0; i < maxIndexColumns; ++i) {
            index.columnNumbers.push_back(in.u16());
            index.columnOrders.push_back(in.u8());
        }
        index.usageMap = in.u32();
        index.rootPage = in.u32();
        index.reserved42 = in.u32();
        index.flags = in.u8();
        index.reserved47 = in.copy(5);
    }
    t.logicalIndexes.resize(logicalCount);
    for (LogicalIndex& index : t.logicalIndexes) {
        index.reserved0 = in.u32();
        index.number = in.u32();
        index.physicalIndex = in.u32();
        index.relatedTableType = in.u8();
        index.relatedIndex = in.u32();
        index.relatedTablePage = in.u32();
        index.cascadeUpdates = in.u8();
        index.cascadeDeletes = in.u8();
        index.kind = in.u8();
        index.reserved24 = in.u32();
        if (index.physicalIndex >= physicalCount)
            throw FormatError("logical index refers to a missing physical index");
    }
    for (LogicalIndex& index : t.logicalIndexes)
        index.name = in.name();
    for (;;) {
        std::uint16_t number = in.u16();
        if (number == endOfColumnUsageMaps)
            break;
        ColumnUsageMaps maps{number, in.u32(), in.u32()};
        t.columnUsageMaps.push_back(maps);
    }
    t.trailer = block.copy(in.position(), block.size() - in.position());
    return t;
}

Bytes TableDefinition::encodeBlock() const {
    Bytes out;
    appendU32(out, 0); // the length, set at the end
    appendU32(out, reserved12);
    appendU32(out, rowCount);
    appendU32(out, nextAutoNumber);
    appendU8(out, autoNumberFlag);
    appendBytes(out, reserved25);
    appendU32(out, nextComplexAutoNumber);
    appendBytes(out, reserved32);
    appendU8(out, tableType);
    appendU16(out, maxColumns);
    appendU16(out, variableColumnCount);
    appendU16(out, std::uint16_t(columns.size()));
    appendU32(out, std::uint32_t(logicalIndexes.size()));
    appendU32(out, std::uint32_t(physicalIndexes.size()));
    appendU32(out, usedPages);
    appendU32(out, freePages);
    for (const PhysicalIndex& index : physicalIndexes) {
        appendU32(out, index.slotReserved0);
        appendU32(out, index.rowCount);
        appendU32(out, index.slotReserved8);
    }
    for (const ColumnDefinition& c : columns)
        encodeColumn(out, c);
    for (const ColumnDefinition& c : columns)
        appendName(out, c.name);
    for (const PhysicalIndex& index : physicalIndexes) {
        appendU32(out, index.reserved0);
        for (std::size_t i = 0; i < maxIndexColumns; ++i) {
            appendU16(out,
                      i < index.columnNumbers.size() ? index.columnNumbers[i] : unusedIndexColumn);
            appendU8(out, i < index.columnOrders.size() ? index.columnOrders[i] : 0);
        }
        appendU32(out, index.usageMap);
        appendU32(out, index.rootPage);
        appendU32(out, index.reserved42);
        appendU8(out, index.flags);
        Bytes reserved = index.reserved47;
        reserved.resize(5);
        appendBytes(out, reserved);
    }
    for (const LogicalIndex& index : logicalIndexes) {
        appendU32(out, index.reserved0);
        appendU32(out, index.number);
        appendU32(out, index.physicalIndex);
        appendU8(out, index.relatedTableType);
        appendU32(out, index.relatedIndex);
        appendU32(out, index.relatedTablePage);
        appendU8(out, index.cascadeUpdates);
        appendU8(out, index.cascadeDeletes);
        appendU8(out, index.kind);
        appendU32(out, index.reserved24);
    }
    for (const LogicalIndex& index : logicalIndexes)
        appendName(out, index.name);
    for (const ColumnUsageMaps& maps : columnUsageMaps) {
        appendU16(out, maps.columnNumber);
        appendU32(out, maps.usedPages);
        appendU32(out, maps.freePages);
    }
    appendU16(out, endOfColumnUsageMaps);
    appendBytes(out, trailer);
    putU32(out, lengthAt, std::uint32_t(out.size()));
    return out;
}

std::size_t TableDefinition::pagesNeeded() const {
    std::size_t size = encodeBlock().size();
    return std::max<std::size_t>(1, (size + pageCapacity - 1) / pageCapacity);
}

std::vector<Bytes> TableDefinition::encodePages() const {
    Bytes block = encodeBlock();
    std::size_t needed = std::max<std::size_t>(1, (block.size() + pageCapacity - 1) / pageCapacity);
    if (needed != pages.size())
        throw FormatError("table definition needs " + std::to_string(needed) + " pages, has " +
                          std::to_string(pages.size()));
    std::vector<Bytes> out;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::size_t from = i * pageCapacity;
        std::size_t share = std::min(pageCapacity, block.size() - from);
        Bytes page(pageSize);
        putU8(page, 0, page::tableDefinition);
        putU8(page, 1, 1);
        putU16(page, 2, std::uint16_t(pageCapacity - share));
        putU32(page, 4, i + 1 < pages.size() ? pages[i + 1] : 0);
        putBytes(page, pageHeaderSize, std::span<const std::uint8_t>(block).subspan(from, share));
        out.push_back(std::move(page));
    }
    return out;
}

std::pair<std::size_t, std::size_t> tableDefinitionUnusedArea(ByteView page) {
    std::size_t free = std::min<std::size_t>(page.u16(2), pageCapacity);
    return {pageSize - free, pageSize};
}

} // namespace engine::jetfile

#pragma once

// A table definition: one block spread over a chain of pages (each with its own 8-byte
// header), holding the table's counters, its columns, its physical indexes (the B-trees) and
// its logical indexes (what the catalog lists, several of which may share one B-tree).
// Fields whose meaning is not known are kept as read and written back unchanged.

#include "foundation/engine/jetfile/PageFile.h"

#include <string>

namespace engine::jetfile {

// Column type codes as stored.
namespace column {
constexpr std::uint8_t boolean = 0x01;
constexpr std::uint8_t byte = 0x02;
constexpr std::uint8_t integer = 0x03;
constexpr std::uint8_t longInteger = 0x04;
constexpr std::uint8_t money = 0x05;
constexpr std::uint8_t single = 0x06;
constexpr std::uint8_t doubleType = 0x07;
constexpr std::uint8_t dateTime = 0x08;
constexpr std::uint8_t binary = 0x09;
constexpr std::uint8_t text = 0x0A;
constexpr std::uint8_t oleObject = 0x0B;
constexpr std::uint8_t memo = 0x0C;
constexpr std::uint8_t guid = 0x0F;
constexpr std::uint8_t numeric = 0x10;
constexpr std::uint8_t complex = 0x12;

constexpr std::uint8_t fixedLengthFlag = 0x01;
constexpr std::uint8_t nullableFlag = 0x02;
constexpr std::uint8_t autoLongFlag = 0x04;
constexpr std::uint8_t autoGuidFlag = 0x40;
constexpr std::uint8_t hyperlinkFlag = 0x80;
constexpr std::uint8_t compressedUnicodeFlag = 0x01; // in the extended flags
} // namespace column

struct ColumnDefinition {
    std::uint8_t type = 0;
    std::uint32_t reserved1 = 0;
    std::uint16_t number = 0;        // position in the null mask; counts deleted columns
    std::uint16_t variableIndex = 0; // entry in a row's variable offset table
    std::uint16_t index = 0;         // position among the live columns
    std::uint32_t misc = 0;          // precision and scale, text sort order, or complex id
    std::uint8_t flags = 0;
    std::uint8_t extendedFlags = 0;
    std::uint32_t reserved17 = 0;
    std::uint16_t fixedOffset = 0;
    std::uint16_t length = 0;
    std::u16string name;

    bool isFixedLength() const { return (flags & column::fixedLengthFlag) != 0; }
    // Text sort order (id, version) of a text or memo column.
    std::uint16_t sortOrderId() const { return std::uint16_t(misc); }
    std::uint8_t sortOrderVersion() const { return std::uint8_t(misc >> 24); }
    std::uint8_t precision() const { return std::uint8_t(misc); }
    std::uint8_t scale() const { return std::uint8_t(misc >> 8); }
};

struct IndexColumn {
    std::uint16_t columnNumber = 0;
    bool ascending = true;
};

constexpr std::uint16_t unusedIndexColumn = 0xFFFF;

struct PhysicalIndex {
    // Slot of the counters block before the columns.
    std::uint32_t slotReserved0 = 0;
    std::uint32_t rowCount = 0;
    std::uint32_t slotReserved8 = 0;
    // Definition after the column names.
    std::uint32_t reserved0 = 0;
    std::vector<std::uint8_t> columnOrders;   // the 10 order bytes as stored
    std::vector<std::uint16_t> columnNumbers; // the 10 column numbers, 0xFFFF for none
    std::uint32_t usageMap = 0;               // row pointer to the index's page usage map
    std::uint32_t rootPage = 0;
    std::uint32_t reserved42 = 0;
    std::uint8_t flags = 0; // 0x01 unique, 0x02 ignore nulls, 0x08 required
    Bytes reserved47;       // 5 bytes

    std::vector<IndexColumn> columns() const;
};

namespace index {
constexpr std::uint8_t uniqueFlag = 0x01;
constexpr std::uint8_t ignoreNullsFlag = 0x02;
constexpr std::uint8_t requiredFlag = 0x08;
constexpr std::uint8_t createdFlag = 0x80; // set on every index Access writes
constexpr std::uint8_t primaryKind = 0x01;
constexpr std::uint8_t foreignKind = 0x02;
} // namespace index

// The tags Access writes into every table definition (header, columns, logical indexes) and
// into every physical index.
constexpr std::uint32_t definitionTag = 0x659;
constexpr std::uint32_t physicalIndexTag = 0x783;

struct LogicalIndex {
    std::uint32_t reserved0 = 0;
    std::uint32_t number = 0;
    std::uint32_t physicalIndex = 0;
    std::uint8_t relatedTableType = 0;
    std::uint32_t relatedIndex = 0xFFFFFFFF;
    std::uint32_t relatedTablePage = 0;
    std::uint8_t cascadeUpdates = 0;
    std::uint8_t cascadeDeletes = 0;
    std::uint8_t kind = 0; // 1 primary key, 2 foreign key
    std::uint32_t reserved24 = 0;
    std::u16string name;
};

// A long-value column's own usage maps, listed at the end of the definition.
struct ColumnUsageMaps {
    std::uint16_t columnNumber = 0;
    std::uint32_t usedPages = 0;
    std::uint32_t freePages = 0;
};

struct TableDefinition {
    std::vector<PageNumber> pages; // the chain, first page first
    std::uint32_t reserved12 = 0;
    std::uint32_t rowCount = 0;
    std::uint32_t nextAutoNumber = 0;
    std::uint8_t autoNumberFlag = 0;
    Bytes reserved25; // 3 bytes
    std::uint32_t nextComplexAutoNumber = 0;
    Bytes reserved32;           // 8 bytes
    std::uint8_t tableType = 0; // 0x4E user table, 0x53 system table
    std::uint16_t maxColumns = 0;
    std::uint16_t variableColumnCount = 0;
    std::uint32_t usedPages = 0; // row pointers to the table's two usage maps
    std::uint32_t freePages = 0;
    std::vector<ColumnDefinition> columns;
    std::vector<PhysicalIndex> physicalIndexes;
    std::vector<LogicalIndex> logicalIndexes;
    std::vector<ColumnUsageMaps> columnUsageMaps;
    Bytes trailer; // whatever follows the end marker of the column usage maps

    const ColumnDefinition* columnByNumber(std::uint16_t number) const;

    // The definition whose first page is first.
    static TableDefinition read(const PageSource& file, PageNumber first);
    // The definition block alone (no page headers), from the table's counters on.
    static TableDefinition decode(ByteView block);
    Bytes encodeBlock() const;
    // The length of the chain the block fills.
    std::size_t pagesNeeded() const;
    // The block spread over pages of this definition's chain, each with its page header.
    std::vector<Bytes> encodePages() const;
};

// The bytes a table definition page does not use: after its share of the block.
std::pair<std::size_t, std::size_t> tableDefinitionUnusedArea(ByteView page);

} // namespace engine::jetfile

// The key encodings of the types the shared files do not index: comparing the keys as bytes
// orders the values as numbers, ascending and descending, with nulls first (ascending).

#include "SharedFiles.h"

#include "foundation/engine/jetfile/IndexKey.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace engine::jetfile;

namespace {

struct OneColumn {
    TableDefinition table;
    PhysicalIndex index;

    OneColumn(std::uint8_t type, bool ascending) {
        ColumnDefinition c;
        c.type = type;
        c.flags = column::fixedLengthFlag;
        table.columns.push_back(c);
        index.columnNumbers = {0};
        index.columnOrders = {std::uint8_t(ascending ? 1 : 0)};
    }

    Bytes key(const PageFile& file, std::optional<Bytes> stored) const {
        StoredRow row;
        row.columnCount = 1;
        row.nullMask = {std::uint8_t(stored ? 1 : 0)};
        row.fixed = stored.value_or(Bytes(fixedColumnSize(table.columns[0])));
        return indexKey(file, table, index, row);
    }
};

template <class T> Bytes little(T value) {
    Bytes bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

Bytes decimal(bool negative, std::uint64_t magnitude) {
    Bytes bytes(17);
    bytes[0] = negative ? 0x80 : 0;
    // Four little-endian words, most significant first.
    putU32(bytes, 9, std::uint32_t(magnitude >> 32));
    putU32(bytes, 13, std::uint32_t(magnitude));
    return bytes;
}

void expectOrdered(const std::string& file, std::uint8_t type,
                   const std::vector<std::optional<Bytes>>& ascendingValues,
                   bool checkDescending = true) {
    PageFile pages(jettest::sharedFile(file));
    for (bool ascending : {true, false}) {
        if (!ascending && !checkDescending)
            continue;
        OneColumn column(type, ascending);
        for (std::size_t i = 1; i < ascendingValues.size(); ++i) {
            Bytes lower = column.key(pages, ascendingValues[i - 1]);
            Bytes higher = column.key(pages, ascendingValues[i]);
            if (ascending)
                EXPECT_LT(lower, higher) << file << " type " << int(type) << " value " << i;
            else
                EXPECT_GT(lower, higher) << file << " type " << int(type) << " value " << i;
        }
    }
}

TEST(KeyOrder, NumbersDatesAndCurrencySortAsTheirValues) {
    for (const std::string file : {"emptyJet4.mdb", "empty2010.accdb"}) {
        expectOrdered(file, column::integer,
                      {std::nullopt, little<std::int16_t>(-300), little<std::int16_t>(-1),
                       little<std::int16_t>(0), little<std::int16_t>(7),
                       little<std::int16_t>(300)});
        expectOrdered(file, column::money,
                      {std::nullopt, little<std::int64_t>(-50000), little<std::int64_t>(0),
                       little<std::int64_t>(1), little<std::int64_t>(1LL << 40)});
        expectOrdered(file, column::single,
                      {std::nullopt, little(-2.5f), little(-0.5f), little(0.0f), little(0.25f),
                       little(1e9f)});
        expectOrdered(
            file, column::doubleType,
            {std::nullopt, little(-1e300), little(-1.0), little(0.0), little(1e-9), little(3.5)});
        expectOrdered(file, column::dateTime,
                      {std::nullopt, little(-700.25), little(0.0), little(45000.5)});
        expectOrdered(file, column::byte,
                      {std::nullopt, Bytes{0}, Bytes{1}, Bytes{200}, Bytes{255}});
        // Jet 4 keeps negative decimals in the wrong place of a descending index; its files
        // must keep that order, so only ACE sorts descending decimals by value.
        expectOrdered(file, column::numeric,
                      {std::nullopt, decimal(true, 1ULL << 40), decimal(true, 5), decimal(false, 0),
                       decimal(false, 5), decimal(false, 1ULL << 40)},
                      file != "emptyJet4.mdb");
    }
}

TEST(KeyOrder, GuidsSortByTheirTextAndYesNoIsNeverNull) {
    PageFile pages(jettest::sharedFile("emptyJet4.mdb"));
    // {00000001-...} < {00000100-...}: the first field is stored little-endian.
    Bytes low(16), high(16);
    low[0] = 1;
    high[1] = 1;
    expectOrdered("emptyJet4.mdb", column::guid, {std::nullopt, low, high});

    OneColumn yesNo(column::boolean, true);
    StoredRow row;
    row.columnCount = 1;
    row.nullMask = {0};
    Bytes no = indexKey(pages, yesNo.table, yesNo.index, row);
    row.nullMask = {1};
    Bytes yes = indexKey(pages, yesNo.table, yesNo.index, row);
    EXPECT_EQ(no, (Bytes{0x7F, 0xFF}));
    EXPECT_EQ(yes, (Bytes{0x7F, 0x00}));
}

} // namespace

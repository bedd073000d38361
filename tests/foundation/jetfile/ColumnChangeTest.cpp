// Every row of every shared table, rewritten for a definition with a column added and then
// for the definition with that column dropped again, keeps every value it had; the added
// column reads back with the value it was given.

#include "SharedFiles.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/ColumnChange.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace engine::jetfile;

namespace {

ColumnDesign addedColumn(std::uint8_t type, std::uint16_t length, SortOrder fileOrder) {
    ColumnDesign c;
    c.name = u"Kelvor added";
    c.type = type;
    c.length = length;
    c.sortOrder = newColumnSortOrder(type, fileOrder);
    return c;
}

// The row as the definition reads it back from its bytes.
StoredRow stored(const StoredRow& row, const TableDefinition& table) {
    return StoredRow::decode(row.encode(), table);
}

void expectSameValues(const StoredRow& a, const StoredRow& b, const TableDefinition& table,
                      const std::string& where) {
    for (const ColumnDefinition& c : table.columns)
        ASSERT_EQ(columnValue(a, c), columnValue(b, c))
            << where << " column " << std::string(c.name.begin(), c.name.end());
}

TEST(ColumnChange, EveryRowKeepsItsValuesThroughAnAddedAndDroppedColumn) {
    int tables = 0;
    int rows = 0;
    for (const std::string& name : jettest::writableFormatFiles()) {
        PageFile file(jettest::sharedFile(name));
        SortOrder order = file.header().sortOrder;
        for (const CatalogTable& table : listTables(file)) {
            TableDefinition definition = TableDefinition::read(file, table.definitionPage);
            std::vector<StoredRow> original = readRows(file, definition);
            std::string where = name + " " + std::string(table.name.begin(), table.name.end());
            struct Case {
                ColumnDesign column;
                ColumnValue value;
            };
            std::vector<Case> cases = {
                {addedColumn(column::longInteger, 0, order), Bytes{1, 2, 3, 4}},
                {addedColumn(column::text, 20, order), Bytes{'h', 0, 'i', 0}},
                {addedColumn(column::boolean, 0, order), Bytes()},
                {addedColumn(column::memo, 0, order), std::nullopt}};
            for (const Case& added : cases) {
                TableDefinition wider = withColumnAdded(definition, table.name, added.column);
                TableDefinition back = withColumnDropped(wider, added.column.name);
                const ColumnDefinition& newColumn = wider.columns.back();
                for (const StoredRow& row : original) {
                    StoredRow widened =
                        stored(rewriteRow(row, definition, wider, added.value), wider);
                    expectSameValues(row, widened, definition, where + " widened");
                    ASSERT_EQ(columnValue(widened, newColumn), added.value) << where;
                    StoredRow narrowed = stored(rewriteRow(widened, wider, back), back);
                    expectSameValues(row, narrowed, definition, where + " narrowed");
                }
            }
            ++tables;
            rows += int(original.size());
        }
    }
    std::cout << "tables " << tables << ", rows " << rows << " rewritten four ways and back\n";
    EXPECT_GE(rows, 1000);
}

// The row with the bytes Access leaves as they were zeroed: the fixed bytes of null and
// dropped columns, the padding of a shrunk row and the null-mask bits past the last column.
StoredRow definedPart(StoredRow row, const TableDefinition& table) {
    Bytes fixed(row.fixed.size(), 0);
    for (const ColumnDefinition& c : table.columns) {
        std::size_t end = c.fixedOffset + fixedColumnSize(c);
        if (c.isFixedLength() && row.hasValue(c.number) && end <= fixed.size())
            std::copy(row.fixed.begin() + c.fixedOffset, row.fixed.begin() + std::ptrdiff_t(end),
                      fixed.begin() + c.fixedOffset);
    }
    row.fixed = fixed;
    row.padding.clear();
    for (std::size_t bit = table.maxColumns; bit < row.nullMask.size() * 8; ++bit)
        row.nullMask[bit / 8] &= std::uint8_t(~(1 << (bit % 8)));
    return row;
}

TEST(ColumnChange, ARowLaidOutForItsOwnDefinitionIsTheRowAccessWrote) {
    int rows = 0;
    for (const std::string& name : jettest::writableFormatFiles()) {
        PageFile file(jettest::sharedFile(name));
        for (const CatalogTable& table : listTables(file)) {
            TableDefinition definition = TableDefinition::read(file, table.definitionPage);
            for (const StoredRow& row : readRows(file, definition)) {
                ASSERT_EQ(row.columnCount, definition.maxColumns); // no row older than a column
                StoredRow laidOut = rewriteRow(row, definition, definition);
                ASSERT_EQ(definedPart(laidOut, definition).encode(),
                          definedPart(row, definition).encode())
                    << name << " " << std::string(table.name.begin(), table.name.end());
                ++rows;
            }
        }
    }
    EXPECT_GE(rows, 1000);
}

TableDefinition indexTestTable1() {
    PageFile file(jettest::sharedFile("indexTestV2003.mdb"));
    for (const CatalogTable& table : listTables(file))
        if (table.name == u"Table1")
            return TableDefinition::read(file, table.definitionPage);
    throw std::runtime_error("no Table1");
}

TEST(ColumnChange, AnAddedColumnGoesAfterEverythingEverUsed) {
    // Column 0 of this table was dropped: its number and its four fixed bytes stay used.
    TableDefinition table = indexTestTable1();
    ASSERT_EQ(table.maxColumns, 6);
    TableDefinition withLong =
        withColumnAdded(table, u"Table1", addedColumn(column::longInteger, 0, {0x409, 0}));
    const ColumnDefinition& added = withLong.columns.back();
    EXPECT_EQ(added.number, 6);
    EXPECT_EQ(added.index, 5);
    EXPECT_EQ(added.fixedOffset, 20);
    EXPECT_EQ(added.variableIndex, 1);
    EXPECT_EQ(withLong.maxColumns, 7);
    EXPECT_EQ(withLong.variableColumnCount, table.variableColumnCount);

    ColumnDesign memo = addedColumn(column::memo, 0, {0x409, 0});
    memo.name = u"Notes";
    TableDefinition withMemo = withColumnAdded(withLong, u"Table1", memo);
    EXPECT_EQ(withMemo.columns.back().number, 7);
    EXPECT_EQ(withMemo.columns.back().variableIndex, 1);
    EXPECT_EQ(withMemo.variableColumnCount, table.variableColumnCount + 1);
    ASSERT_FALSE(withMemo.columnUsageMaps.empty());
    EXPECT_EQ(withMemo.columnUsageMaps.back().columnNumber, 7);

    try {
        ColumnDesign twice = addedColumn(column::text, 10, {0x409, 0});
        twice.name = u"DATA";
        withColumnAdded(table, u"Table1", twice);
        FAIL() << "a second column DATA was added";
    } catch (const DefinitionRefused& e) {
        EXPECT_STREQ(e.what(), "Field 'DATA' already exists in table 'Table1'.");
    }
}

TEST(ColumnChange, DroppingLeavesTheOtherColumnsInPlaceAndRefusesIndexedOnes) {
    TableDefinition table = indexTestTable1();
    for (std::u16string indexed : {u"id", u"OTHERFK1", u"otherfk2"}) {
        try {
            withColumnDropped(table, indexed);
            FAIL() << "dropped an indexed column";
        } catch (const DefinitionRefused& e) {
            EXPECT_STREQ(e.what(),
                         "Cannot delete a field that is part of an index or is needed by the "
                         "system.");
        }
    }
    TableDefinition dropped = withColumnDropped(table, u"Data");
    ASSERT_EQ(dropped.columns.size(), table.columns.size() - 1);
    EXPECT_EQ(dropped.maxColumns, table.maxColumns);
    EXPECT_EQ(dropped.variableColumnCount, table.variableColumnCount - 1);
    const ColumnDefinition& last = dropped.columns.back();
    EXPECT_EQ(last.name, u"otherfk3");
    EXPECT_EQ(last.number, 5);
    EXPECT_EQ(last.fixedOffset, 16);
    EXPECT_EQ(last.index, 3);
    EXPECT_EQ(dropped.physicalIndexes[2].columnNumbers, table.physicalIndexes[2].columnNumbers);
    EXPECT_THROW(withColumnDropped(dropped, u"data"), DefinitionRefused);
}

TEST(ColumnChange, RefusesValuesAndDefinitionsThatDoNotFit) {
    TableDefinition table = indexTestTable1();
    TableDefinition wider =
        withColumnAdded(table, u"Table1", addedColumn(column::longInteger, 0, {0x409, 0}));
    StoredRow row = rewriteRow(StoredRow{}, table, table);
    EXPECT_THROW(rewriteRow(row, table, wider, Bytes{1, 2}), FormatError);
    // A damaged definition: a column numbered past the column count.
    TableDefinition damaged = wider;
    damaged.maxColumns = 6;
    EXPECT_THROW(rewriteRow(row, table, damaged, Bytes{1, 2, 3, 4}), FormatError);
}

} // namespace

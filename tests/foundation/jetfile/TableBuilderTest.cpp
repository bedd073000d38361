// A table definition built from the TableDesign that a real definition describes is the definition
// Access wrote, field by field, for every shared table whose definition shows no history of
// changes; counters, page numbers and the bytes Access leaves as they were in memory aside.

#include "DefinitionComparison.h"
#include "SharedFiles.h"
#include "StoredProperties.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/TableBuilder.h"

#include <gtest/gtest.h>

#include <iostream>
#include <numeric>

using namespace engine::jetfile;
using jettest::narrow;

namespace {

TEST(TableBuilder, BuildsTheDefinitionAccessWroteForEveryTableWithoutHistory) {
    int compared = 0;
    int matched = 0;
    std::map<std::string, int> skipped;
    for (const std::string& name : jettest::writableFormatFiles()) {
        PageFile file(jettest::sharedFile(name));
        for (const CatalogTable& table : listTables(file)) {
            TableDefinition real = TableDefinition::read(file, table.definitionPage);
            std::string why = jettest::history(real);
            if (!why.empty()) {
                ++skipped[why];
                continue;
            }
            ++compared;
            TableDefinition built = buildTableDefinition(designOfDefinition(real, table.name));
            std::vector<std::string> found = jettest::differences(built, real);
            if (found.empty()) {
                ++matched;
                continue;
            }
            ADD_FAILURE() << name << " " << narrow(table.name) << ":" << jettest::listed(found);
        }
    }
    std::cout << "tables compared " << compared << ", identical " << matched << "; left out:";
    for (const auto& [why, count] : skipped)
        std::cout << " " << why << " " << count << ",";
    std::cout << "\n";
    EXPECT_EQ(matched, compared);
    EXPECT_GE(compared, 100);
}

// The names of a physical index's columns, in order, with their directions.
std::vector<std::pair<std::u16string, bool>> keyOf(const TableDefinition& t,
                                                   const PhysicalIndex& index) {
    std::vector<std::pair<std::u16string, bool>> key;
    for (const IndexColumn& c : index.columns())
        key.emplace_back(t.columnByNumber(c.columnNumber)->name, c.ascending);
    return key;
}

TEST(TableBuilder, SharesBTreesAsAccessDidInEveryTableWhoseIndexesHaveNoHistory) {
    int tables = 0;
    int logical = 0;
    for (const std::string& name : jettest::writableFormatFiles()) {
        PageFile file(jettest::sharedFile(name));
        for (const CatalogTable& table : listTables(file)) {
            TableDefinition real = TableDefinition::read(file, table.definitionPage);
            // The primary keys of the engine's own system tables (MSysObjects, MSysQueries)
            // are unique but not required, unlike any key a statement makes.
            if (real.tableType != 0x4E || real.logicalIndexes.empty() ||
                !jettest::indexHistory(real).empty())
                continue;
            TableDefinition built;
            try {
                built = buildTableDefinition(designOfDefinition(real, table.name));
            } catch (const DefinitionRefused&) {
                continue; // complex or calculated columns: not made by this writer
            }
            std::string where = name + " " + narrow(table.name);
            ASSERT_EQ(built.physicalIndexes.size(), real.physicalIndexes.size()) << where;
            for (std::size_t i = 0; i < real.physicalIndexes.size(); ++i) {
                EXPECT_EQ(built.physicalIndexes[i].flags, real.physicalIndexes[i].flags) << where;
                EXPECT_EQ(keyOf(built, built.physicalIndexes[i]),
                          keyOf(real, real.physicalIndexes[i]))
                    << where;
            }
            ASSERT_EQ(built.logicalIndexes.size(), real.logicalIndexes.size()) << where;
            for (std::size_t i = 0; i < real.logicalIndexes.size(); ++i) {
                EXPECT_EQ(built.logicalIndexes[i].name, real.logicalIndexes[i].name) << where;
                EXPECT_EQ(built.logicalIndexes[i].number, real.logicalIndexes[i].number) << where;
                EXPECT_EQ(built.logicalIndexes[i].physicalIndex,
                          real.logicalIndexes[i].physicalIndex)
                    << where;
                ++logical;
            }
            ++tables;
        }
    }
    std::cout << "tables " << tables << ", logical indexes " << logical << "\n";
    EXPECT_GE(tables, 140);
}

TEST(TableBuilder, NotNullLeavesTheRequiredPropertyAccessWrote) {
    // Every column of this table was made NOT NULL.
    PageFile file(jettest::sharedFile("fixedTextTestV2003.mdb"));
    TableDesign design;
    for (const CatalogTable& table : listTables(file))
        if (table.name == u"users")
            design =
                designOfDefinition(TableDefinition::read(file, table.definitionPage), table.name);
    ASSERT_EQ(design.columns.size(), 10u);
    EXPECT_TRUE(buildTableProperties(design).empty());
    for (ColumnDesign& c : design.columns)
        c.required = true;
    PropertyBlob built = buildTableProperties(design);
    PropertyBlob real =
        PropertyBlob::decode(jettest::propertyBlob("fixedTextTestV2003.mdb", u"users").bytes);
    ASSERT_EQ(built.objects().size(), design.columns.size()); // no block for the table itself
    for (const ColumnDesign& c : design.columns) {
        const Property* b = built.find(c.name, u"Required");
        const Property* r = real.find(c.name, u"Required");
        ASSERT_NE(b, nullptr);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(b->flags, r->flags);
        EXPECT_EQ(b->type, r->type);
        EXPECT_EQ(b->value, r->value);
    }
}

ColumnDesign columnOf(std::u16string name, std::uint8_t type, std::uint16_t length = 0) {
    ColumnDesign c;
    c.name = std::move(name);
    c.type = type;
    c.length = length;
    return c;
}

IndexDesign indexOf(std::u16string name, std::vector<IndexColumnDesign> columns) {
    IndexDesign index;
    index.name = std::move(name);
    index.columns = std::move(columns);
    return index;
}

TableDesign orders() {
    TableDesign design;
    design.name = u"Orders";
    design.columns = {columnOf(u"Id", column::longInteger), columnOf(u"Note", column::memo),
                      columnOf(u"Paid", column::boolean),   columnOf(u"Code", column::text, 20),
                      columnOf(u"When", column::dateTime),  columnOf(u"Total", column::numeric)};
    design.columns[0].autoIncrement = true;
    design.columns[3].compressedUnicode = true;
    design.columns[5].precision = 12;
    design.columns[5].scale = 2;
    return design;
}

TEST(TableBuilder, PacksFixedColumnsAndNumbersVariableOnesInColumnOrder) {
    TableDefinition t = buildTableDefinition(orders());
    ASSERT_EQ(t.columns.size(), 6u);
    EXPECT_EQ(t.maxColumns, 6);
    EXPECT_EQ(t.variableColumnCount, 2);
    // Id 0-3, When 4-11, Total 12-28; a Yes/No column has no bytes in the row.
    EXPECT_EQ(t.columns[0].fixedOffset, 0);
    EXPECT_EQ(t.columns[4].fixedOffset, 4);
    EXPECT_EQ(t.columns[5].fixedOffset, 12);
    EXPECT_EQ(t.columns[2].fixedOffset, 0);
    EXPECT_EQ(t.columns[2].length, 1);
    EXPECT_EQ(t.columns[1].variableIndex, 0);
    EXPECT_EQ(t.columns[3].variableIndex, 1);
    EXPECT_EQ(t.columns[4].variableIndex, 2); // a fixed column counts the variable ones before it
    EXPECT_EQ(t.columns[0].flags,
              column::fixedLengthFlag | column::nullableFlag | column::autoLongFlag);
    EXPECT_EQ(t.columns[3].extendedFlags, column::compressedUnicodeFlag);
    EXPECT_EQ(t.columns[3].misc, 0x409u);
    EXPECT_EQ(t.columns[5].misc, 12u | 2u << 8);
    ASSERT_EQ(t.columnUsageMaps.size(), 1u);
    EXPECT_EQ(t.columnUsageMaps[0].columnNumber, 1);
    // The block it encodes to decodes to the same definition.
    TableDefinition again = TableDefinition::decode(t.encodeBlock());
    EXPECT_EQ(again.encodeBlock(), t.encodeBlock());
}

TEST(TableBuilder, SharesBTreesTheWayAccessDoes) {
    TableDesign design = orders();
    IndexDesign primary = indexOf(u"PrimaryKey", {{u"Id", true}});
    primary.primary = true;
    IndexDesign byCode = indexOf(u"code", {{u"Code", false}});
    IndexDesign sameAsByCode = indexOf(u"Another", {{u"code", false}});
    IndexDesign plainId = indexOf(u"Id", {{u"Id", true}});
    IndexDesign reference = indexOf(u".rX", {{u"Id", true}});
    reference.foreignKey = ForeignKeyDesign{1, 3, 40, 1, 0};
    design.indexes = {primary, byCode, sameAsByCode, plainId, reference};
    TableDefinition t = buildTableDefinition(design);
    ASSERT_EQ(t.physicalIndexes.size(), 3u);
    EXPECT_EQ(t.physicalIndexes[0].flags, 0x89);
    EXPECT_EQ(t.physicalIndexes[1].flags, 0x80);
    EXPECT_EQ(t.physicalIndexes[1].columnNumbers[0], 3);
    EXPECT_EQ(t.physicalIndexes[1].columnOrders[0], 0);
    EXPECT_EQ(t.physicalIndexes[1].columnNumbers[1], unusedIndexColumn);
    EXPECT_EQ(t.physicalIndexes[2].flags, 0x80);
    // Listed by name, numbered in creation order.
    std::vector<std::u16string> names;
    std::vector<std::uint32_t> numbers, physicals;
    for (const LogicalIndex& l : t.logicalIndexes) {
        names.push_back(l.name);
        numbers.push_back(l.number);
        physicals.push_back(l.physicalIndex);
    }
    EXPECT_EQ(names,
              (std::vector<std::u16string>{u".rX", u"Another", u"code", u"Id", u"PrimaryKey"}));
    EXPECT_EQ(numbers, (std::vector<std::uint32_t>{4, 2, 1, 3, 0}));
    EXPECT_EQ(physicals, (std::vector<std::uint32_t>{0, 1, 1, 2, 0}));
    EXPECT_EQ(t.logicalIndexes[0].kind, index::foreignKind);
    EXPECT_EQ(t.logicalIndexes[0].relatedTablePage, 40u);
    EXPECT_EQ(t.logicalIndexes[1].cascadeUpdates, 4);
    EXPECT_EQ(t.logicalIndexes[1].relatedIndex, 0xFFFFFFFFu);
}

TEST(TableBuilder, RefusesWhatAccessRefuses) {
    auto refusal = [](const TableDesign& design) -> std::string {
        try {
            buildTableDefinition(design);
        } catch (const DefinitionRefused& e) {
            return e.what();
        }
        return "built";
    };
    TableDesign twice = orders();
    twice.columns.push_back(columnOf(u"NOTE", column::text, 10));
    EXPECT_EQ(refusal(twice), "Field 'NOTE' already exists in table 'Orders'.");
    TableDesign missing = orders();
    missing.indexes = {indexOf(u"I", {{u"Nothing", true}})};
    EXPECT_EQ(refusal(missing), "Index 'I' names no field 'Nothing'.");
    TableDesign twoKeys = orders();
    IndexDesign key = indexOf(u"K1", {{u"Id", true}});
    key.primary = true;
    IndexDesign other = key;
    other.name = u"K2";
    twoKeys.indexes = {key, other};
    EXPECT_EQ(refusal(twoKeys), "Primary key already exists.");
    TableDesign wide = orders();
    wide.indexes = {indexOf(u"W", std::vector<IndexColumnDesign>(11, {u"Id", true}))};
    EXPECT_EQ(refusal(wide), "Index 'W' must have 1 to 10 fields.");
    TableDesign longText = orders();
    longText.columns[3].length = 512;
    EXPECT_EQ(refusal(longText), "Size of field 'Code' is too long.");
    TableDesign unknownType = orders();
    unknownType.columns.push_back(columnOf(u"Files", 0x0E));
    EXPECT_EQ(refusal(unknownType), "Field 'Files' has a type this writer does not create yet.");
}

} // namespace

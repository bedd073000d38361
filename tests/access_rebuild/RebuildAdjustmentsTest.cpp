// The adjustments that let a rebuilt table be compared with its original hide only what the
// file and the creation order decide, never a difference in the structure.

#include "RebuildAdjustments.h"

#include "tests/foundation/jetfile/DefinitionComparison.h"

#include "foundation/engine/jetfile/TableBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace engine::jetfile;

namespace {

constexpr SortOrder jet4General{0x409, 0};
constexpr SortOrder aceGeneral{0x409, 1};

TableDesign orders(SortOrder fileOrder) {
    TableDesign design;
    design.name = u"Orders";
    for (auto [name, type] : {std::pair{u"Id", column::longInteger},
                              {u"Code", column::text},
                              {u"Note", column::memo},
                              {u"Total", column::numeric}}) {
        ColumnDesign c;
        c.name = name;
        c.type = type;
        c.length = type == column::text ? 40 : 0;
        c.sortOrder = newColumnSortOrder(type, fileOrder);
        design.columns.push_back(c);
    }
    return design;
}

IndexDesign indexOf(std::u16string name, std::u16string column, bool primary = false) {
    IndexDesign index;
    index.name = std::move(name);
    index.columns = {{std::move(column), true}};
    index.primary = primary;
    return index;
}

TEST(RebuildAdjustments, SortOrdersFollowTheFileTheTableIsIn) {
    TableDefinition jet4 = buildTableDefinition(orders(jet4General));
    TableDefinition ace = buildTableDefinition(orders(aceGeneral));
    ASSERT_FALSE(jettest::differences(ace, jet4).empty());
    auto moved = rebuildtest::withSortOrdersOf(jet4, jet4General, aceGeneral);
    ASSERT_TRUE(moved);
    EXPECT_EQ(jettest::differences(ace, *moved), std::vector<std::string>{});
    // Precision and scale are no sort order.
    EXPECT_EQ(moved->columns[3].misc, jet4.columns[3].misc);

    TableDesign otherLocale = orders(jet4General);
    otherLocale.columns[0].sortOrder = {0x41D, 0};
    EXPECT_FALSE(
        rebuildtest::withSortOrdersOf(buildTableDefinition(otherLocale), jet4General, aceGeneral));
}

TEST(RebuildAdjustments, IndexNumbersFollowTheOriginalsCreationOrder) {
    TableDesign keyFirst = orders(jet4General);
    keyFirst.indexes = {indexOf(u"PrimaryKey", u"Id", true), indexOf(u"ByCode", u"Code"),
                        indexOf(u"ById", u"Id")};
    TableDesign keyLast = keyFirst;
    std::rotate(keyLast.indexes.begin(), keyLast.indexes.begin() + 1, keyLast.indexes.end());
    TableDefinition original = buildTableDefinition(keyLast);
    TableDefinition rebuilt = buildTableDefinition(keyFirst);
    ASSERT_FALSE(jettest::differences(rebuilt, original).empty());
    EXPECT_EQ(jettest::differences(rebuildtest::withIndexNumbersOf(rebuilt, original), original),
              std::vector<std::string>{});

    // A key that differs still shows, whatever the order.
    keyFirst.indexes[1].unique = true;
    EXPECT_EQ(
        jettest::differences(
            rebuildtest::withIndexNumbersOf(buildTableDefinition(keyFirst), original), original),
        std::vector<std::string>{"physical index 0 flags"});
}

} // namespace

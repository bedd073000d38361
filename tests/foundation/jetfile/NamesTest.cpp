// Access lists the logical indexes of every definition in the order of their names, compared
// without regard to case; the engine's own tables list their columns the same way.

#include "SharedFiles.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/Names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

using namespace engine::jetfile;

namespace {

template <typename List> bool inNameOrder(const List& list) {
    return std::is_sorted(list.begin(), list.end(),
                          [](const auto& a, const auto& b) { return nameBefore(a.name, b.name); });
}

TEST(Names, AccessListsIndexesAndTheEnginesColumnsInNameOrder) {
    int indexLists = 0;
    int columnLists = 0;
    for (const std::string& name : jettest::writableFormatFiles()) {
        PageFile file(jettest::sharedFile(name));
        for (const CatalogTable& table : listTables(file)) {
            TableDefinition t = TableDefinition::read(file, table.definitionPage);
            std::string where = name + " " + std::string(table.name.begin(), table.name.end());
            EXPECT_TRUE(inNameOrder(t.logicalIndexes)) << where;
            indexLists += t.logicalIndexes.size() > 1;
            // A system table, made by the engine.
            if (t.tableType == 0x53) {
                EXPECT_TRUE(inNameOrder(t.columns)) << where;
                ++columnLists;
            }
        }
    }
    std::cout << "index lists " << indexLists << ", system column lists " << columnLists << "\n";
    EXPECT_GE(indexLists, 100);
}

TEST(Names, CompareWithoutRegardToCase) {
    EXPECT_TRUE(sameName(u"PrimaryKey", u"PRIMARYKEY"));
    EXPECT_TRUE(sameName(u"\u00C9t\u00E9", u"\u00E9T\u00C9"));
    EXPECT_FALSE(sameName(u"\u00D7", u"\u00F7")); // the multiplication and division signs
    EXPECT_FALSE(sameName(u"a", u"ab"));
    // Folded to lower case: an underscore sorts before letters, a dot before both.
    EXPECT_TRUE(nameBefore(u"Users2_1_idx", u"Users2CID_0"));
    EXPECT_TRUE(nameBefore(u".rC", u"id"));
    EXPECT_FALSE(nameBefore(u"ID", u"id"));
}

} // namespace

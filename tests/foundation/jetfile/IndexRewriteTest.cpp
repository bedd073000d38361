// Rebuilding an index Access wrote gives back its entries on pages of the old tree: a second
// rebuild takes no new page, and a rebuild of an index whose rows went away frees its pages.

#include "ScratchFile.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexCheck.h"
#include "foundation/engine/jetfile/IndexWriter.h"
#include "foundation/engine/jetfile/TableWriter.h"

#include <gtest/gtest.h>

using namespace engine::jetfile;

namespace {

PageNumber catalogTable(const PageSource& file, const std::u16string& name) {
    for (const CatalogTable& table : listTables(file))
        if (table.name == name)
            return table.definitionPage;
    throw std::runtime_error("no such table");
}

TEST(IndexRewrite, ASecondRebuildTakesNoNewPageAndEmptyIndexesGiveTheirPagesBack) {
    jettest::ScratchFile scratch("testV2003.mdb");
    WorkingCopy copy(scratch.path());
    PageAllocator allocator(copy);
    TableWriter table(copy, allocator, catalogTable(copy, u"Table1"));
    ASSERT_FALSE(table.definition().physicalIndexes.empty());
    std::vector<RowPointer> rows;
    forEachRow(copy, table.definition(), [&](PageNumber page, std::uint8_t row, StoredRow&&) {
        rows.push_back({page, row});
    });
    std::optional<StoredRow> model = readRow(copy, table.definition(), rows[0].page, rows[0].row);
    for (int i = 0; i < 1500; ++i)
        rows.push_back(table.insert(*model));

    auto rebuildAll = [&] {
        for (std::size_t i = 0; i < table.definition().physicalIndexes.size(); ++i)
            rebuildIndex(copy, allocator, table.definition(), i);
    };
    rebuildAll();
    PageNumber pages = copy.pageCount();
    std::size_t freePages = allocator.freePages().size();
    rebuildAll();
    EXPECT_EQ(copy.pageCount(), pages);
    EXPECT_EQ(allocator.freePages().size(), freePages);

    for (const RowPointer& at : rows)
        table.remove(at);
    std::vector<PageNumber> treesBefore;
    for (const PhysicalIndex& index : table.definition().physicalIndexes)
        for (PageNumber page : indexTreePages(copy, index.rootPage))
            treesBefore.push_back(page);
    rebuildAll();
    for (const PhysicalIndex& index : table.definition().physicalIndexes) {
        EXPECT_EQ(indexTreePages(copy, index.rootPage), std::vector<PageNumber>{index.rootPage});
        EXPECT_EQ(index.rowCount, 0u);
    }
    EXPECT_EQ(allocator.freePages().size(),
              freePages + treesBefore.size() - table.definition().physicalIndexes.size());
    EXPECT_EQ(table.definition().rowCount, 0u);
    table.saveDefinition();
    copy.commitStatement();
    copy.close();

    PageFile file(scratch.path());
    EXPECT_TRUE(readRows(file, TableDefinition::read(file, catalogTable(file, u"Table1"))).empty());
    IndexCheckResult check = checkIndexes(file);
    EXPECT_TRUE(check.mismatches.empty());
    jettest::CommandOutput exported = jettest::mdbExport(scratch.path(), "Table1");
    EXPECT_TRUE(exported.succeeded);
    EXPECT_EQ(jettest::lines(exported.text).size(), 1u) << "only the header line";
}

} // namespace

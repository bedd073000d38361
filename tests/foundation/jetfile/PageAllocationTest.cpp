// Pages come from the free-page map before the file grows, every page handed out leaves the
// map, freed ones return to it; usage maps keep their pages as they move their range or
// outgrow their row; and the file still reads the same to libmdb afterwards.

#include "ScratchFile.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/PageAllocator.h"

#include <gtest/gtest.h>

using namespace engine::jetfile;

namespace {

std::set<PageNumber> freeInFile(const PageSource& file) {
    UsageMap map = readUsageMap(file, freePageMapRow);
    std::set<PageNumber> inFile;
    for (PageNumber page : map.pages)
        if (page < file.pageCount())
            inFile.insert(page);
    return inFile;
}

std::map<std::string, std::string> exports(const std::filesystem::path& file) {
    std::map<std::string, std::string> tables;
    for (const std::string& table : jettest::mdbTables(file))
        tables[table] = jettest::mdbExport(file, table).text;
    return tables;
}

TEST(PageAllocation, FreePagesInsideTheFileComeFirstThenTheFileGrowsAndTheMapFollows) {
    jettest::ScratchFile scratch("testV2003.mdb");
    auto before = exports(scratch.path());
    std::vector<PageNumber> handedOut;
    {
        WorkingCopy copy(scratch.path());
        PageNumber pagesBefore = copy.pageCount();
        std::set<PageNumber> freeBefore = freeInFile(copy);
        ASSERT_FALSE(freeBefore.empty()) << "the file has free pages to reuse";

        PageAllocator allocator(copy);
        // Enough pages to carry the file past the range the inline map covered.
        for (int i = 0; i < 200; ++i)
            handedOut.push_back(allocator.allocate());
        std::vector<PageNumber> expected(freeBefore.begin(), freeBefore.end());
        for (PageNumber page = pagesBefore; expected.size() < handedOut.size(); ++page)
            expected.push_back(page);
        EXPECT_EQ(handedOut, expected);
        EXPECT_EQ(copy.pageCount(), pagesBefore + 200 - freeBefore.size());

        UsageMap map = readUsageMap(copy, freePageMapRow);
        for (PageNumber page : handedOut)
            EXPECT_EQ(map.pages.count(page), 0u) << "page " << page << " still listed free";
        EXPECT_TRUE(freeInFile(copy).empty());
        EXPECT_GT(map.startPage, 0u) << "the inline range moved up with the file";
        EXPECT_EQ(map.pages.count(copy.pageCount()), 1u) << "the next page counts as free";

        // A freed page is the next one handed out.
        allocator.release(handedOut[5]);
        EXPECT_EQ(freeInFile(copy), std::set<PageNumber>{handedOut[5]});
        EXPECT_EQ(copy.read(handedOut[5]), Bytes(pageSize));
        EXPECT_EQ(allocator.allocate(), handedOut[5]);
        copy.commitStatement();
        copy.close();
    }
    PageFile file(scratch.path());
    EXPECT_TRUE(freeInFile(file).empty());
    EXPECT_EQ(exports(scratch.path()), before);
}

TEST(PageAllocation, AnEmptyDatabaseGrowsAtItsEnd) {
    for (const char* name : {"emptyJet4.mdb", "empty2010.accdb"}) {
        jettest::ScratchFile scratch(name);
        WorkingCopy copy(scratch.path());
        PageNumber end = copy.pageCount();
        PageAllocator allocator(copy);
        EXPECT_EQ(allocator.allocate(), end) << name;
        EXPECT_EQ(allocator.allocate(), end + 1) << name;
        EXPECT_EQ(readUsageMap(copy, freePageMapRow).pages.count(end + 1), 0u) << name;
        copy.commitStatement();
        EXPECT_NO_THROW(copy.close()) << name;
        EXPECT_TRUE(jettest::mdbExport(scratch.path(), "MSysObjects").succeeded) << name;
    }
}

TEST(PageAllocation, ATableMapMovesItsRangeThenOutgrowsItsRowKeepingEveryPage) {
    jettest::ScratchFile scratch("testV2003.mdb");
    WorkingCopy copy(scratch.path());
    PageAllocator allocator(copy);
    TableDefinition table = TableDefinition::read(copy, listTables(copy).front().definitionPage);
    UsageMapWriter owned(copy, table.usedPages);
    ASSERT_EQ(owned.kind(), UsageMap::Kind::inline_);
    std::set<PageNumber> expected = owned.pages();
    std::size_t mapPages = 0;
    auto newPage = [&] {
        ++mapPages;
        return allocator.allocate();
    };

    PageNumber near = *expected.rbegin() + 100;
    owned.set(near, true, newPage);
    expected.insert(near);
    EXPECT_EQ(owned.kind(), UsageMap::Kind::inline_);
    EXPECT_EQ(readUsageMap(copy, table.usedPages).pages, expected);

    // Past what one inline row spans, and past a map page's range.
    for (PageNumber far : {PageNumber(5000), PageNumber(40000)}) {
        owned.set(far, true, newPage);
        expected.insert(far);
    }
    EXPECT_EQ(owned.kind(), UsageMap::Kind::pages);
    EXPECT_EQ(mapPages, 2u);
    EXPECT_EQ(readUsageMap(copy, table.usedPages).pages, expected);

    owned.set(near, false, newPage);
    expected.erase(near);
    EXPECT_EQ(readUsageMap(copy, table.usedPages).pages, expected);
    EXPECT_EQ(owned.pages(), expected);
}

} // namespace

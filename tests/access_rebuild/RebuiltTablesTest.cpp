// kelvor's script that brings an empty Access file to a shared file's structure, run by
// kelrun on a copy of that empty file, leaves each table the definition Access wrote, field by
// field, for every table whose definition shows no history of changes: page numbers, counters,
// the bytes Access leaves as they were in memory, the sort orders columns take from their file
// and the numbers indexes take from their creation order aside. Tables in a relationship are
// left out, since what a relationship adds to them is not written yet.

#include "RebuildAdjustments.h"
#include "RebuiltCopy.h"

#include "tests/foundation/jetfile/DefinitionComparison.h"
#include "tests/foundation/jetfile/SharedFiles.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/Relationships.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iostream>
#include <map>

using namespace engine::jetfile;
using jettest::narrow;

namespace {

struct SharedTable {
    std::u16string name;
    TableDefinition expected; // as the rebuilt file should hold it
};

SortOrder emptyFileSortOrder(const PageFile& shared) {
    return PageFile(jettest::sharedFile(rebuildtest::emptyFileOf(shared))).header().sortOrder;
}

// The tables of the file a rebuilt table can be compared with; those left out counted by why.
std::vector<SharedTable> comparableTables(const PageFile& file,
                                          std::map<std::string, int>& leftOut) {
    SortOrder rebuiltOrder = emptyFileSortOrder(file);
    std::vector<SharedTable> tables;
    for (const CatalogTable& table : listTables(file)) {
        TableDefinition definition = TableDefinition::read(file, table.definitionPage);
        // The engine's own tables come with the empty file.
        std::string why =
            table.name.starts_with(u"MSys") ? "system table" : jettest::history(definition);
        if (why.empty() && !relationshipsOf(file, table.name).empty())
            why = "in relationships";
        auto expected = rebuildtest::withSortOrdersOf(std::move(definition),
                                                      file.header().sortOrder, rebuiltOrder);
        if (why.empty() && !expected)
            why = "sort orders not the file's";
        if (!why.empty()) {
            ++leftOut[why];
            continue;
        }
        tables.push_back({table.name, std::move(*expected)});
    }
    return tables;
}

std::map<std::u16string, PageNumber> definitionPages(const PageFile& file) {
    std::map<std::u16string, PageNumber> pages;
    for (const CatalogTable& table : listTables(file))
        pages[table.name] = table.definitionPage;
    return pages;
}

class RebuiltTables : public testing::TestWithParam<std::string> {};

TEST_P(RebuiltTables, HaveTheDefinitionsAccessWrote) {
    const std::string& name = GetParam();
    PageFile shared(jettest::sharedFile(name));
    std::map<std::string, int> leftOut;
    std::vector<SharedTable> tables = comparableTables(shared, leftOut);
    int equal = 0;
    int indexesInAnotherOrder = 0;
    if (!tables.empty()) {
        rebuildtest::RebuiltCopy copy(name);
        PageFile rebuilt(copy.path());
        std::map<std::u16string, PageNumber> pages = definitionPages(rebuilt);
        for (const SharedTable& table : tables) {
            auto page = pages.find(table.name);
            if (page == pages.end()) {
                ADD_FAILURE() << narrow(table.name) << " not rebuilt\n" << copy.programOutput();
                continue;
            }
            TableDefinition made = TableDefinition::read(rebuilt, page->second);
            std::vector<std::string> found = jettest::differences(
                rebuildtest::withIndexNumbersOf(made, table.expected), table.expected);
            if (!found.empty()) {
                ADD_FAILURE() << narrow(table.name) << ":" << jettest::listed(found);
                continue;
            }
            ++equal;
            if (!jettest::differences(made, table.expected).empty())
                ++indexesInAnotherOrder;
        }
    }
    std::cout << name << ": tables compared " << tables.size() << ", equal " << equal << " ("
              << indexesInAnotherOrder << " with indexes created in another order); left out:";
    for (const auto& [why, count] : leftOut)
        std::cout << " " << why << " " << count << ",";
    std::cout << "\n";
}

// The rule leaves enough of the shared tables to compare for the check above to mean much.
TEST(ComparableTables, AreLeftInEnoughSharedFiles) {
    std::size_t tables = 0;
    std::map<std::string, int> leftOut;
    for (const std::string& name : jettest::writableFormatFiles())
        tables += comparableTables(PageFile(jettest::sharedFile(name)), leftOut).size();
    EXPECT_GE(tables, 20u);
    EXPECT_GT(leftOut["in relationships"], 0);
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, RebuiltTables,
                         testing::ValuesIn(jettest::writableFormatFiles()), testName);

} // namespace

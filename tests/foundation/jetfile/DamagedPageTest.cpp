// Damaged pages end in a FormatError, never in a read outside the page.

#include "SharedFiles.h"

#include "foundation/engine/jetfile/DataPage.h"
#include "foundation/engine/jetfile/IndexPage.h"
#include "foundation/engine/jetfile/PageFile.h"
#include "foundation/engine/jetfile/StoredRow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace engine::jetfile;

namespace {

TEST(DamagedPages, RowOffsetsAndRowLayoutsOutsideTheirBoundsAreRejected) {
    PageFile file(jettest::sharedFile("emptyJet4.mdb"));
    TableDefinition catalog = TableDefinition::read(file, 2);
    Bytes page(pageSize);
    page[0] = 1;
    page[1] = 1;
    putU16(page, 12, 1);
    putU16(page, 14, 4); // a row starting inside the offset table
    EXPECT_THROW(DataPage::decode(page), FormatError);

    putU16(page, 14, pageSize - 3);
    DataPage decoded = DataPage::decode(page);
    // Three bytes claiming 4000 columns: the null mask cannot fit.
    putU16(decoded.rows[0].bytes, 0, 4000);
    EXPECT_THROW(StoredRow::decode(decoded.rows[0].bytes, catalog), FormatError);
    // A variable offset table longer than the row.
    Bytes row = {2, 0, 0xFF, 0x7F, 0xFF};
    EXPECT_THROW(StoredRow::decode(row, catalog), FormatError);
}

TEST(DamagedPages, IndexPrefixLongerThanTheFirstEntryIsRejected) {
    Bytes page(pageSize);
    page[0] = 4;
    page[1] = 1;
    putU16(page, 24, 50);
    page[27] = 0b110; // two entries of one byte each
    EXPECT_THROW(IndexPage::decode(page), FormatError);
}

TEST(DamagedPages, TruncatedFileAndLoopingDefinitionsAreRejected) {
    auto directory = std::filesystem::temp_directory_path() / "jetfile-damaged";
    std::filesystem::create_directories(directory);
    auto copy = directory / "copy.mdb";
    std::filesystem::copy_file(jettest::sharedFile("emptyJet4.mdb"), copy,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
    {
        // Page 2's definition chain points back to page 2.
        std::fstream out(copy, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(2 * pageSize + 4);
        const char next[4] = {2, 0, 0, 0};
        out.write(next, 4);
    }
    PageFile looping(copy);
    EXPECT_THROW(TableDefinition::read(looping, 2), FormatError);
    EXPECT_THROW(looping.read(looping.pageCount()), FormatError);

    std::filesystem::resize_file(copy, pageSize * 3 + 100);
    EXPECT_THROW(PageFile{copy}, FormatError);
    std::filesystem::remove_all(directory);
}

} // namespace

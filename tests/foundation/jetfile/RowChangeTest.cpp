// One row changed again and again keeps its place: each longer version moves its bytes and
// leaves one pointer behind, never a chain; a deleted moved row leaves nothing readable; what
// a page cannot hold is refused before anything changes.

#include "ScratchFile.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/RowBuilder.h"
#include "foundation/engine/jetfile/TableWriter.h"
#include "foundation/engine/jetfile/Text.h"

#include <gtest/gtest.h>

using namespace engine::jetfile;

namespace {

class RowChange : public testing::Test {
protected:
    RowChange()
        : scratch_("testV2003.mdb"), copy_(scratch_.path()), allocator_(copy_),
          table_(copy_, allocator_, tablePage()) {
        forEachRow(copy_, table_.definition(), [&](PageNumber page, std::uint8_t row, StoredRow&&) {
            rows_.push_back({page, row});
        });
    }

    PageNumber tablePage() {
        for (const CatalogTable& table : listTables(copy_))
            if (table.name == u"Table1")
                return table.definitionPage;
        throw std::runtime_error("no Table1");
    }

    // The first row with its column B set to text.
    StoredRow withB(const std::string& text) {
        const TableDefinition& table = table_.definition();
        StoredRow model = *readRow(copy_, table, rows_[0].page, rows_[0].row);
        ColumnValues values;
        for (const ColumnDefinition& column : table.columns) {
            if (column.type == column::boolean)
                values[column.number] = {std::uint8_t(model.hasValue(column.number))};
            else if (auto value = model.value(column))
                values[column.number] = value->copy();
        }
        Bytes b;
        for (char c : text)
            appendU16(b, std::uint16_t(c));
        for (const ColumnDefinition& column : table.columns)
            if (column.name == u"B")
                values[column.number] = b;
        return buildRow(table, values);
    }

    std::string bOf(RowPointer at) {
        std::optional<StoredRow> row = readRow(copy_, table_.definition(), at.page, at.row);
        if (!row)
            return "(deleted)";
        for (const ColumnDefinition& column : table_.definition().columns)
            if (column.name == u"B") {
                std::u16string text = decodeText(*row->value(column));
                return std::string(text.begin(), text.end());
            }
        return "(no B)";
    }

    jettest::ScratchFile scratch_;
    WorkingCopy copy_;
    PageAllocator allocator_;
    TableWriter table_;
    std::vector<RowPointer> rows_;
};

TEST_F(RowChange, EachLongerVersionMovesOnceAndTheRowKeepsItsPlace) {
    RowPointer at = table_.insert(withB("short"));
    for (std::size_t length : {20, 60, 99, 3}) {
        std::string text(length, 'x');
        table_.replace(at, withB(text));
        EXPECT_EQ(bOf(at), text);
        DataPage headerPage = DataPage::decode(copy_.read(at.page));
        const DataRow& header = headerPage.rows[at.row];
        if (!header.overflow)
            continue;
        RowPointer data = RowPointer::fromStored(ByteView(header.bytes).u32(0));
        DataPage movedPage = DataPage::decode(copy_.read(data.page));
        const DataRow& moved = movedPage.rows[data.row];
        EXPECT_FALSE(moved.overflow) << "a pointer to a pointer";
        EXPECT_TRUE(moved.deleted) << "moved bytes are no row of their own";
    }
    std::size_t before = readRows(copy_, table_.definition()).size();
    table_.remove(at);
    EXPECT_EQ(bOf(at), "(deleted)");
    EXPECT_EQ(readRows(copy_, table_.definition()).size(), before - 1);
    EXPECT_THROW(table_.remove(at), FormatError);
    EXPECT_THROW(table_.replace(at, withB("again")), FormatError);

    table_.saveDefinition();
    copy_.commitStatement();
    copy_.close();
    jettest::CommandOutput exported = jettest::mdbExport(scratch_.path(), "Table1");
    EXPECT_TRUE(exported.succeeded);
    EXPECT_EQ(jettest::lines(exported.text).size(), 1 + before - 1);
}

TEST_F(RowChange, ARowLargerThanAPageCanHoldIsRefusedAndTheStatementLeavesNothing) {
    copy_.commitStatement();
    PageNumber pages = copy_.pageCount();
    Bytes firstPage = copy_.read(rows_[0].page);
    StoredRow huge = withB("x");
    huge.variable[0].assign(4100, 'y');
    EXPECT_THROW(table_.insert(huge), FormatError);
    EXPECT_THROW(table_.replace(rows_[0], huge), FormatError);
    copy_.discardStatement();
    EXPECT_EQ(copy_.pageCount(), pages);
    EXPECT_EQ(copy_.read(rows_[0].page), firstPage);
}

} // namespace

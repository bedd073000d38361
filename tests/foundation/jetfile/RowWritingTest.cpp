// Thousands of rows inserted into a table of a shared file, some deleted, some replaced by
// shorter and by longer rows, the table's indexes rebuilt: after the working copy closes, our
// reader and libmdb both read exactly those rows, every index entry matches its row, and the
// other tables read as before.

#include "ScratchFile.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexBuilder.h"
#include "foundation/engine/jetfile/IndexCheck.h"
#include "foundation/engine/jetfile/IndexWriter.h"
#include "foundation/engine/jetfile/LongValueWriter.h"
#include "foundation/engine/jetfile/RowBuilder.h"
#include "foundation/engine/jetfile/TableWriter.h"
#include "foundation/engine/jetfile/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

using namespace engine::jetfile;

namespace {

struct Case {
    std::string file;
    std::string table;
    std::size_t rows;
};

std::string narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

Bytes utf16(const std::string& text) {
    Bytes out;
    for (char c : text)
        appendU16(out, std::uint16_t(static_cast<unsigned char>(c)));
    return out;
}

PageNumber definitionPageOf(const PageSource& file, const std::string& table) {
    for (const CatalogTable& t : listTables(file))
        if (narrow(t.name) == table)
            return t.definitionPage;
    throw std::runtime_error("no table " + table);
}

// The columns a new row gets its own values in (keys must stay unique); the others copy the
// table's first row.
bool varies(const TableDefinition& table, const ColumnDefinition& column) {
    if (column.type == column::text || column.type == column::memo)
        return true;
    if (column.type != column::longInteger)
        return false;
    for (const PhysicalIndex& index : table.physicalIndexes)
        if (index.flags & index::uniqueFlag)
            for (const IndexColumn& part : index.columns())
                if (part.columnNumber == column.number)
                    return true;
    for (const ColumnDefinition& c : table.columns)
        if (c.type == column::longInteger)
            return &c == &column;
    return false;
}

// What a varied column holds in row i, as mdb-export prints it. Texts fill most of their
// column, so that text keys are long and their indexes deep.
std::string valueText(const ColumnDefinition& column, std::size_t i, bool replaced) {
    if (column.type == column::longInteger)
        return std::to_string(i * 37 + column.number);
    std::string text = "row " + std::to_string(i) + " c" + std::to_string(column.number) + " ";
    if (column.type == column::memo) {
        static const std::size_t sizes[] = {10, 900, 5000};
        text.resize(sizes[i % 3], char('a' + i % 26));
        return replaced ? "replaced " + text : text;
    }
    std::size_t chars = column.length / 2;
    if (chars <= 24) {
        // Short columns (keys, often) hold the row number.
        text = std::to_string(i);
        if (replaced)
            text = i % 2 ? "r" + text : text + "x";
    } else {
        text.resize(chars - 12, char('a' + i % 26));
        if (replaced)
            text = i % 2 ? "r" + std::to_string(i) : text + " replaced by more";
    }
    return text.substr(0, chars);
}

class RowWriting : public testing::TestWithParam<Case> {
protected:
    struct Written {
        RowPointer at;
        std::size_t number;
        bool replaced = false;
    };

    using LongValueWriters = std::map<std::uint16_t, LongValueWriter>;

    StoredRow rowFor(const TableDefinition& table, const StoredRow& model, std::size_t i,
                     bool replaced, LongValueWriters& longValues) {
        ColumnValues values;
        for (const ColumnDefinition& column : table.columns) {
            if (!varies(table, column)) {
                if (column.type == column::boolean)
                    values[column.number] = {std::uint8_t(model.hasValue(column.number))};
                else if (auto value = model.value(column))
                    values[column.number] = value->copy();
                continue;
            }
            std::string text = valueText(column, i, replaced);
            if (column.type == column::longInteger) {
                Bytes bytes;
                appendU32(bytes, std::uint32_t(std::stoul(text)));
                values[column.number] = bytes;
            } else if (column.type == column::text) {
                values[column.number] = utf16(text);
            } else {
                values[column.number] = longValues.at(column.number).store(utf16(text), 200);
            }
        }
        return buildRow(table, values);
    }

    // A line of mdb-export for a row written from the model line.
    std::vector<std::string> expectedLine(const TableDefinition& table,
                                          const std::vector<std::string>& header,
                                          std::vector<std::string> model, const Written& row) {
        for (std::size_t f = 0; f < header.size(); ++f)
            for (const ColumnDefinition& column : table.columns)
                if (narrow(column.name) == header[f] && varies(table, column))
                    model[f] = valueText(column, row.number, row.replaced);
        return model;
    }
};

TEST_P(RowWriting, InsertedDeletedAndReplacedRowsReadBackThroughOurReaderAndLibmdb) {
    const Case& c = GetParam();
    jettest::ScratchFile scratch(c.file);
    std::vector<std::string> tables = jettest::mdbTables(scratch.path());
    std::map<std::string, std::string> exportsBefore;
    for (const std::string& t : tables)
        exportsBefore[t] = jettest::mdbExport(scratch.path(), t).text;
    std::vector<std::string> exportLines = jettest::lines(exportsBefore[c.table]);
    ASSERT_GE(exportLines.size(), 2u) << "the table has a row to copy";
    std::vector<std::string> header = jettest::csvFields(exportLines[0]);

    std::vector<Written> written;
    std::size_t overflowRows = 0;
    std::vector<IndexShape> shapes;
    PageNumber definitionPage;
    RowPointer firstOriginal;
    std::vector<std::string> firstOriginalLine;
    {
        WorkingCopy copy(scratch.path());
        definitionPage = definitionPageOf(copy, c.table);
        PageAllocator allocator(copy);
        TableWriter table(copy, allocator, definitionPage);
        LongValueWriters longValues;
        for (const ColumnDefinition& column : table.definition().columns)
            if (column.type == column::memo)
                longValues.try_emplace(column.number, copy, allocator, table.definition(),
                                       column.number);
        std::optional<StoredRow> model;
        forEachRow(copy, table.definition(), [&](PageNumber page, std::uint8_t row, StoredRow&& r) {
            if (!model) {
                model = std::move(r);
                firstOriginal = {page, row};
            }
        });
        std::uint32_t rowsBefore = table.definition().rowCount;

        for (std::size_t i = 0; i < c.rows; ++i)
            written.push_back(
                {table.insert(rowFor(table.definition(), *model, i, false, longValues)), i});
        EXPECT_EQ(table.definition().rowCount, rowsBefore + c.rows);
        copy.commitStatement();

        for (Written& w : written) {
            if (w.number % 7 == 3) {
                table.remove(w.at);
            } else if (w.number % 5 == 1) {
                w.replaced = true;
                table.replace(w.at, rowFor(table.definition(), *model, w.number, true, longValues));
            }
        }
        table.remove(firstOriginal);
        std::erase_if(written, [](const Written& w) { return w.number % 7 == 3; });
        copy.commitStatement();

        for (const Written& w : written)
            overflowRows += DataPage::decode(copy.read(w.at.page)).rows[w.at.row].overflow;
        for (std::size_t i = 0; i < table.definition().physicalIndexes.size(); ++i)
            shapes.push_back(rebuildIndex(copy, allocator, table.definition(), i));
        table.saveDefinition();
        copy.commitStatement();
        copy.close();
    }

    // Our reader: the rows, the row count, every index entry.
    PageFile file(scratch.path());
    TableDefinition definition = TableDefinition::read(file, definitionPage);
    std::size_t originalRows = exportLines.size() - 1;
    EXPECT_EQ(definition.rowCount, originalRows - 1 + written.size());
    EXPECT_EQ(readRows(file, definition).size(), definition.rowCount);
    for (const Written& w : written) {
        auto row = readRow(file, definition, w.at.page, w.at.row);
        ASSERT_TRUE(row) << "row " << w.number;
        for (const ColumnDefinition& column : definition.columns) {
            if (!varies(definition, column))
                continue;
            auto value = row->value(column);
            ASSERT_TRUE(value) << "row " << w.number << " column " << narrow(column.name);
            std::string expected = valueText(column, w.number, w.replaced);
            if (column.type == column::longInteger)
                EXPECT_EQ(std::to_string(value->u32(0)), expected);
            else if (column.type == column::text)
                EXPECT_EQ(narrow(decodeText(*value)), expected);
            else
                EXPECT_EQ(narrow(decodeText(readLongValue(file, *value))), expected);
        }
    }
    // A column with usage maps of its own lists the pages its values went to.
    std::size_t listedValuePages = 0;
    for (const ColumnUsageMaps& maps : definition.columnUsageMaps) {
        const ColumnDefinition* column = definition.columnByNumber(maps.columnNumber);
        std::set<PageNumber> owned = readUsageMap(file, maps.usedPages).pages;
        for (const Written& w : written) {
            std::optional<StoredRow> row = readRow(file, definition, w.at.page, w.at.row);
            auto value = row->value(*column);
            if (!value)
                continue;
            LongValueReference reference = LongValueReference::decode(*value);
            if (reference.kind == LongValueReference::Kind::inline_)
                continue;
            EXPECT_EQ(owned.count(RowPointer::fromStored(reference.rowPointer).page), 1u);
            ++listedValuePages;
        }
    }
    IndexCheckResult indexes = checkIndexes(file);
    EXPECT_TRUE(indexes.mismatches.empty()) << indexes.mismatches.front();
    EXPECT_EQ(indexes.matched + indexes.unsupported, indexes.entries);
    // Each index's page usage map lists its tree, as in every file Access wrote; its count of
    // distinct keys is what the entries hold.
    for (const PhysicalIndex& index : definition.physicalIndexes) {
        std::vector<PageNumber> tree = indexTreePages(file, index.rootPage);
        EXPECT_EQ(readUsageMap(file, index.usageMap).pages,
                  std::set<PageNumber>(tree.begin(), tree.end()));
        EXPECT_EQ(index.rowCount, distinctKeys(leafEntriesFromRows(file, definition, index)));
    }

    // libmdb: the table holds exactly the rows written; the other tables are unchanged.
    std::vector<std::vector<std::string>> expected, exported;
    firstOriginalLine = jettest::csvFields(exportLines[1]);
    for (std::size_t i = 1; i < exportLines.size(); ++i)
        expected.push_back(jettest::csvFields(exportLines[i]));
    expected.erase(std::find(expected.begin(), expected.end(), firstOriginalLine));
    for (const Written& w : written)
        expected.push_back(expectedLine(definition, header, firstOriginalLine, w));
    jettest::CommandOutput after = jettest::mdbExport(scratch.path(), c.table);
    ASSERT_TRUE(after.succeeded);
    std::vector<std::string> afterLines = jettest::lines(after.text);
    ASSERT_FALSE(afterLines.empty());
    EXPECT_EQ(afterLines[0], exportLines[0]);
    for (std::size_t i = 1; i < afterLines.size(); ++i)
        exported.push_back(jettest::csvFields(afterLines[i]));
    std::sort(expected.begin(), expected.end());
    std::sort(exported.begin(), exported.end());
    EXPECT_EQ(exported.size(), expected.size());
    EXPECT_TRUE(exported == expected) << "libmdb reads other rows than were written";
    EXPECT_EQ(jettest::mdbTables(scratch.path()), tables);
    for (const std::string& t : tables) {
        if (t != c.table) {
            EXPECT_EQ(jettest::mdbExport(scratch.path(), t).text, exportsBefore[t]) << t;
        }
    }

    std::size_t deepest = 0;
    for (const IndexShape& shape : shapes)
        deepest = std::max(deepest, shape.levels);
    std::cout << c.file << " " << c.table << ": " << written.size() << " rows written, "
              << overflowRows << " moved by a longer replacement, " << shapes.size()
              << " indexes rebuilt, deepest " << deepest << " levels, " << indexes.entries
              << " index entries checked, " << listedValuePages
              << " long values in their column's own pages\n";
    bool hasText =
        std::any_of(definition.columns.begin(), definition.columns.end(),
                    [](const ColumnDefinition& col) { return col.type == column::text; });
    if (hasText) {
        EXPECT_GT(overflowRows, 0u) << "a longer text moves its row";
    }
    if (!shapes.empty() && c.rows >= 1000) {
        EXPECT_GE(deepest, 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, RowWriting,
                         testing::Values(Case{"testV2003.mdb", "Table1", 3000},
                                         Case{"testV2010.accdb", "Table1", 3000},
                                         Case{"indexTestV2003.mdb", "Table1", 3000},
                                         Case{"indexTestV2010.accdb", "Table1", 2000},
                                         Case{"fixedNumericTestV2003.mdb", "test", 90},
                                         Case{"ASampleDatabase.accdb", "Asset Items", 300}),
                         [](const testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (char ch : info.param.file + info.param.table)
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

} // namespace

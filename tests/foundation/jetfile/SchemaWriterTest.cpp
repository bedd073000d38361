// Tables created, dropped and changed through the catalog model in copies of shared files:
// after the working copy closes (its read-back passes), our reader, the index check and
// libmdb's tools all see the new structure, the rows kept and the other tables as before.

#include "CatalogBuilders.h"
#include "NodeReader.h"
#include "ScratchFile.h"

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexCheck.h"
#include "foundation/engine/jetfile/LongValueWriter.h"
#include "foundation/engine/jetfile/PageAllocator.h"
#include "foundation/engine/jetfile/RowBuilder.h"
#include "foundation/engine/jetfile/SchemaWriter.h"
#include "foundation/engine/jetfile/TableDesign.h"
#include "foundation/engine/jetfile/TableWriter.h"
#include "foundation/engine/jetfile/Text.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <algorithm>

#include <iostream>
#include <set>

using namespace engine;
using namespace engine::jetfile;

using jettest::modelColumn;
using jettest::modelIndex;

namespace {

// A table of every type the dialect names, with the settings DDL and DAO give columns.
catalog::Table ordersTable() {
    catalog::Table t;
    t.name = u"Kelvor Orders";
    t.validationRule = u"[Amount] >= 0";
    t.validationText = u"No negative amounts";
    catalog::Column id = modelColumn(u"Id", type::integer);
    id.autoIncrement = true;
    id.nullable = false;
    catalog::Column name = modelColumn(u"Customer", type::varWChar, 50);
    name.nullable = false;
    name.compressed = true;
    name.defaultValue = u"\"nobody\"";
    name.properties.push_back({u"Caption", daotype::text, Variant(u"Customer name")});
    name.properties.push_back({u"Description", daotype::text, Variant(u"Who ordered")});
    catalog::Column code = modelColumn(u"Code", type::wChar, 4);
    catalog::Column amount = modelColumn(u"Amount", type::decimal);
    amount.precision = 10;
    amount.scale = 2;
    amount.validationRule = u">= 0";
    amount.validationText = u"Amounts are not negative";
    amount.properties.push_back({u"Format", daotype::text, Variant(u"Fixed")});
    amount.properties.push_back({u"DecimalPlaces", daotype::byte, Variant(std::uint8_t(2))});
    catalog::Column notes = modelColumn(u"Notes", type::longVarWChar);
    notes.allowZeroLength = true;
    t.columns = {id,
                 name,
                 code,
                 amount,
                 notes,
                 modelColumn(u"Small", type::tinyInt),
                 modelColumn(u"Short", type::smallInt),
                 modelColumn(u"Real", type::single),
                 modelColumn(u"Wide", type::doubleType),
                 modelColumn(u"Price", type::currency),
                 modelColumn(u"Placed", type::date),
                 modelColumn(u"Paid", type::boolean),
                 modelColumn(u"Ref", type::guid),
                 modelColumn(u"Raw", type::varBinary, 16),
                 modelColumn(u"Picture", type::longVarBinary)};
    catalog::Index primary = modelIndex(u"PrimaryKey", {u"Id"});
    primary.primary = true;
    catalog::Index byCustomer = modelIndex(u"ByCustomer", {u"Customer", u"Placed"});
    byCustomer.unique = true;
    byCustomer.nulls = adox::indexNullsIgnore;
    byCustomer.columns[1].descending = true;
    catalog::Index byCode = modelIndex(u"ByCode", {u"Code"});
    byCode.nulls = adox::indexNullsDisallow;
    t.indexes = {primary, byCustomer, byCode};
    return t;
}

std::string narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

std::map<std::string, std::string> exports(const std::filesystem::path& file) {
    std::map<std::string, std::string> out;
    for (const std::string& t : jettest::mdbTables(file))
        out[t] = jettest::mdbExport(file, t).text;
    return out;
}

void expectIndexesMatch(const std::filesystem::path& path) {
    PageFile file(path);
    IndexCheckResult check = checkIndexes(file);
    EXPECT_TRUE(check.mismatches.empty()) << path << ": " << check.mismatches.front();
    EXPECT_EQ(check.matched + check.unsupported, check.entries);
}

template <typename Change> void change(const std::filesystem::path& path, Change&& body) {
    WorkingCopy copy(path);
    SchemaWriter writer(copy);
    body(writer);
    copy.commitStatement();
    copy.close();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The table as the model describes it where only names matter: columns and indexes by name.
catalog::Table modelOf(const std::filesystem::path& path, std::u16string_view name) {
    PageFile file(path);
    for (const CatalogTable& t : listTables(file)) {
        if (t.name != name)
            continue;
        TableDesign design =
            designOfDefinition(TableDefinition::read(file, t.definitionPage), t.name);
        catalog::Table model;
        model.name = t.name;
        for (const ColumnDesign& c : design.columns)
            model.columns.push_back(modelColumn(c.name, type::integer));
        for (const IndexDesign& i : design.indexes)
            model.indexes.push_back(modelIndex(i.name, {}));
        return model;
    }
    throw std::runtime_error("no table " + narrow(name));
}

std::size_t freePageCount(const std::filesystem::path& path) {
    WorkingCopy copy(path);
    PageAllocator allocator(copy);
    return allocator.freePages().size();
}

// The MSysACEs rows of the object (SID and rights), as mdb-export prints them.
std::multiset<std::string> permissions(const std::filesystem::path& path, PageNumber object) {
    std::multiset<std::string> rows;
    for (const std::string& line :
         jettest::lines(jettest::mdbTool("mdb-export -b hex", path, "MSysACEs").text)) {
        std::vector<std::string> fields = jettest::csvFields(line);
        if (fields.size() == 4 && fields[0] == std::to_string(object))
            rows.insert(fields[1] + " " + fields[2] + " " + fields[3]);
    }
    return rows;
}

std::size_t permissionRows(const std::filesystem::path& path, PageNumber object) {
    return permissions(path, object).size();
}

PageNumber definitionPageOf(const std::filesystem::path& path, std::u16string_view name) {
    PageFile file(path);
    for (const CatalogTable& t : listTables(file))
        if (t.name == name)
            return t.definitionPage;
    return 0;
}

class SchemaWriting : public testing::TestWithParam<std::string> {};
// Files with a Table1 that has rows.
class TableChanging : public testing::TestWithParam<std::string> {};
class JavaScriptReading : public testing::TestWithParam<std::string> {};

TEST_P(SchemaWriting, CreatedTableReadsBackEverywhere) {
    jettest::ScratchFile scratch(GetParam());
    auto before = exports(scratch.path());
    change(scratch.path(), [](SchemaWriter& w) { w.createTable(ordersTable()); });

    auto after = exports(scratch.path());
    ASSERT_EQ(after.count("Kelvor Orders"), 1u);
    EXPECT_EQ(jettest::lines(after["Kelvor Orders"]).size(), 1u) << "a header and no rows";
    after.erase("Kelvor Orders");
    EXPECT_EQ(after, before) << "the other tables read as before";
    expectIndexesMatch(scratch.path());

    PageFile file(scratch.path());
    PageNumber page = definitionPageOf(scratch.path(), u"Kelvor Orders");
    TableDesign design = designOfDefinition(TableDefinition::read(file, page), u"Kelvor Orders");
    ASSERT_EQ(design.columns.size(), 15u);
    EXPECT_EQ(design.columns[0].type, column::longInteger);
    EXPECT_TRUE(design.columns[0].autoIncrement);
    EXPECT_EQ(design.columns[1].length, 100) << "two bytes a character";
    EXPECT_TRUE(design.columns[1].compressedUnicode);
    EXPECT_TRUE(design.columns[2].fixedLength);
    EXPECT_EQ(design.columns[3].precision, 10);
    EXPECT_EQ(design.columns[3].scale, 2);
    EXPECT_EQ(design.indexes.size(), 3u);
    EXPECT_GE(permissionRows(scratch.path(), page), 1u);

    std::string schema = jettest::mdbTool("mdb-schema", scratch.path(), "postgres").text;
    for (const char* part :
         {"CREATE TABLE IF NOT EXISTS \"kelvor orders\"", "\"id\"\t\t\tSERIAL NOT NULL",
          "\"customer\"\t\t\tVARCHAR (50) NOT NULL", "\"amount\"\t\t\tNUMERIC (10, 2)",
          "\"notes\"\t\t\tTEXT", "\"placed\"\t\t\tTIMESTAMP WITHOUT TIME ZONE",
          "CREATE UNIQUE INDEX \"kelvor orders_bycustomer_idx\" ON \"kelvor orders\" "
          "(\"customer\", \"placed\" DESC)",
          "CREATE INDEX \"kelvor orders_bycode_idx\" ON \"kelvor orders\" (\"code\")",
          "PRIMARY KEY (\"id\")"})
        EXPECT_TRUE(contains(schema, part)) << part << "\n" << schema;
    std::string properties = jettest::mdbTool("mdb-prop", scratch.path(), "Kelvor Orders").text;
    for (const char* part :
         {"ValidationRule: [Amount] >= 0", "ValidationText: No negative amounts",
          "DefaultValue: \"nobody\"", "Required: yes", "Caption: Customer name",
          "Description: Who ordered", "DecimalPlaces: 2", "Format: Fixed", "AllowZeroLength: yes"})
        EXPECT_TRUE(contains(properties, part)) << part << "\n" << properties;
}

TEST_P(SchemaWriting, DroppedTableLeavesNoTrace) {
    jettest::ScratchFile scratch(GetParam());
    auto before = exports(scratch.path());
    std::size_t freeBefore = freePageCount(scratch.path());
    change(scratch.path(), [](SchemaWriter& w) { w.createTable(ordersTable()); });
    PageNumber page = definitionPageOf(scratch.path(), u"Kelvor Orders");
    change(scratch.path(), [](SchemaWriter& w) { w.dropTable(u"kelvor ORDERS"); });

    EXPECT_EQ(exports(scratch.path()), before);
    EXPECT_EQ(permissionRows(scratch.path(), page), 0u);
    EXPECT_GE(freePageCount(scratch.path()), freeBefore) << "every page it took is free again";
    expectIndexesMatch(scratch.path());
}

TEST_P(SchemaWriting, NoSuchTableAndTakenNameAreRefused) {
    jettest::ScratchFile scratch(GetParam());
    WorkingCopy copy(scratch.path());
    SchemaWriter writer(copy);
    EXPECT_THROW(writer.dropTable(u"No such table"), DefinitionRefused);
    catalog::Table taken = ordersTable();
    taken.name = u"MSysObjects";
    EXPECT_THROW(writer.createTable(taken), DefinitionRefused);
    std::vector<std::u16string> badNames = {u"",      u" Leading space", u"Dot.ted",
                                            u"Bang!", u"[Bracket]",      std::u16string(65, u'x')};
    for (const std::u16string& bad : badNames) {
        catalog::Table badName = ordersTable();
        badName.name = bad;
        EXPECT_THROW(writer.createTable(badName), DefinitionRefused) << narrow(bad);
        catalog::Table badColumn = ordersTable();
        badColumn.columns.back().name = bad;
        EXPECT_THROW(writer.createTable(badColumn), DefinitionRefused) << narrow(bad);
    }
    catalog::Table renamed = modelOf(scratch.path(), u"MSysObjects");
    catalog::Table original = renamed;
    renamed.name = u"Renamed";
    EXPECT_THROW(writer.changeTable(original, renamed), DefinitionRefused);
    catalog::Table linked = ordersTable();
    linked.kind = catalog::TableKind::AccessLink;
    EXPECT_THROW(writer.createTable(linked), DefinitionRefused);
    catalog::Table multiValued = ordersTable();
    multiValued.columns.push_back(modelColumn(u"Files", type::integer));
    multiValued.columns.back().multiValueType = type::integer;
    EXPECT_THROW(writer.createTable(multiValued), DefinitionRefused);
}

// The flat table an attachment column of the table keeps its values in, from
// MSysComplexColumns; nullopt when it has none.
std::optional<std::string> flatTableOf(const std::filesystem::path& path, const std::string& column,
                                       PageNumber parent) {
    for (const std::string& line :
         jettest::lines(jettest::mdbExport(path, "MSysComplexColumns").text)) {
        std::vector<std::string> f = jettest::csvFields(line);
        if (f.size() == 5 && f[0] == column && f[3] == std::to_string(parent)) {
            PageFile file(path);
            for (const CatalogTable& t : listTables(file))
                if (std::to_string(t.definitionPage) == f[2])
                    return narrow(t.name);
            return "no table on page " + f[2];
        }
    }
    return std::nullopt;
}

// The Flags of the MSysObjects row of that name.
std::optional<std::uint32_t> objectFlags(const std::filesystem::path& path,
                                         const std::string& name) {
    for (const std::string& line :
         jettest::lines(jettest::mdbTool("mdb-export -b strip", path, "MSysObjects").text)) {
        std::vector<std::string> f = jettest::csvFields(line);
        if (f.size() > 7 && f[2] == name)
            return std::uint32_t(std::stoll(f[7]));
    }
    return std::nullopt;
}

void expectAttachmentColumn(const std::filesystem::path& path, std::u16string_view table,
                            std::u16string_view column) {
    PageNumber page = definitionPageOf(path, table);
    PageFile file(path);
    TableDefinition definition = TableDefinition::read(file, page);
    const ColumnDefinition& stored = columnNamed(definition, column);
    EXPECT_EQ(stored.type, column::complex);
    std::optional<std::string> flat = flatTableOf(path, narrow(column), page);
    ASSERT_TRUE(flat);
    EXPECT_TRUE(flat->starts_with("f_")) << *flat;
    EXPECT_TRUE(flat->ends_with("_" + narrow(column))) << *flat;
    std::vector<std::string> listed =
        jettest::lines(jettest::mdbTool("mdb-tables -S -1", path, "").text);
    EXPECT_NE(std::find(listed.begin(), listed.end(), *flat), listed.end());
    std::vector<std::string> values = jettest::lines(jettest::mdbExport(path, *flat).text);
    ASSERT_EQ(values.size(), 1u) << "a header and no rows";
    std::vector<std::string> expected = {
        "_" + narrow(column), "FileData", "FileFlags", "FileName",
        "FileTimeStamp",      "FileType", "FileURL",   narrow(table) + "_" + narrow(column)};
    EXPECT_EQ(jettest::csvFields(values[0]), expected);
    // As Access makes them, else DAO refuses the table: both keys among the variable-length
    // columns without a sort order.
    TableDefinition flatDefinition =
        TableDefinition::read(file, definitionPageOf(path, text::fromUtf8(*flat)));
    for (const ColumnDefinition& c : flatDefinition.columns) {
        bool key = c.type == column::longInteger && c.name != u"FileFlags";
        EXPECT_EQ(c.isFixedLength(), !key && c.type != column::text && c.type != column::memo &&
                                         c.type != column::oleObject)
            << narrow(c.name);
        EXPECT_EQ(c.extendedFlags, !key                       ? 0x10
                                   : c.name.starts_with(u"_") ? 0x08
                                                              : 0x04)
            << narrow(c.name);
        if (key) {
            EXPECT_EQ(c.misc, 0u) << narrow(c.name);
        }
    }
    EXPECT_EQ(objectFlags(path, *flat), 0x800A0000u);
    EXPECT_EQ(objectFlags(path, narrow(table)).value_or(0) & 0x40000u, 0x40000u);
    expectIndexesMatch(path);
}

TEST(AttachmentColumn, NewTableWithOneHasItsFlatTableAndDropsWithIt) {
    jettest::ScratchFile scratch("empty2010.accdb");
    auto before = exports(scratch.path());
    std::size_t freeBefore = freePageCount(scratch.path());
    catalog::Table orders = ordersTable();
    orders.columns.push_back(modelColumn(u"Files", type::attachment));
    change(scratch.path(), [&](SchemaWriter& w) { w.createTable(orders); });
    expectAttachmentColumn(scratch.path(), orders.name, u"Files");
    // mdb-reader reads the column's definition; it fails on the values of complex columns of
    // rows, even on the files Access wrote, so the table has none here.
    if (std::optional<std::vector<std::string>> read = jettest::nodeReaderTables(scratch.path())) {
        auto line = std::find_if(read->begin(), read->end(), [](const std::string& l) {
            return l.starts_with("Kelvor Orders|");
        });
        ASSERT_NE(line, read->end());
        EXPECT_TRUE(line->starts_with("Kelvor Orders|0|0|")) << *line;
        EXPECT_TRUE(contains(*line, "Files:complex:4")) << *line;
    }

    change(scratch.path(), [&](SchemaWriter& w) { w.dropTable(orders.name); });
    EXPECT_EQ(exports(scratch.path()), before);
    EXPECT_EQ(freePageCount(scratch.path()), freeBefore);
}

// Access gives a row's attachment field a value of its own that the field's index needs; the
// writer does not yet, so a table that holds rows refuses the field and the file keeps its
// bytes. An empty table takes it and gives it back.
TEST(AttachmentColumn, AddedToAnEmptyTableAndDroppedAgainButRefusedWhereRowsAre) {
    jettest::ScratchFile scratch("complexDataTestV2010.accdb");
    auto before = exports(scratch.path());
    auto bytesOf = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string bytes = bytesOf(scratch.path());
    catalog::Table original = modelOf(scratch.path(), u"Table1");
    catalog::Table widened = original;
    widened.columns.push_back(modelColumn(u"More files", type::attachment));
    {
        WorkingCopy copy(scratch.path());
        EXPECT_THROW(SchemaWriter(copy).changeTable(original, widened), DefinitionRefused);
    }
    EXPECT_EQ(bytesOf(scratch.path()), bytes);

    catalog::Table empty = ordersTable();
    change(scratch.path(), [&](SchemaWriter& w) { w.createTable(empty); });
    catalog::Table withFiles = empty;
    withFiles.columns.push_back(modelColumn(u"More files", type::attachment));
    change(scratch.path(), [&](SchemaWriter& w) { w.changeTable(empty, withFiles); });
    expectAttachmentColumn(scratch.path(), empty.name, u"More files");
    EXPECT_EQ(exports(scratch.path()).size(), before.size() + 1)
        << "the flat table is a system object";

    change(scratch.path(), [&](SchemaWriter& w) { w.changeTable(withFiles, empty); });
    EXPECT_FALSE(
        flatTableOf(scratch.path(), "More files", definitionPageOf(scratch.path(), empty.name)));
    expectIndexesMatch(scratch.path());
}

TEST(AttachmentColumn, Jet4FilesRefuseOne) {
    jettest::ScratchFile scratch("emptyJet4.mdb");
    WorkingCopy copy(scratch.path());
    SchemaWriter writer(copy);
    EXPECT_FALSE(writer.makesAttachments());
    catalog::Table orders = ordersTable();
    orders.columns.push_back(modelColumn(u"Files", type::attachment));
    EXPECT_THROW(writer.createTable(orders), DefinitionRefused);
}

// The export's lines with the field at `at` left out, or an empty field added at the end.
std::vector<std::string> withoutField(const std::string& exported, std::size_t at) {
    std::vector<std::string> out;
    for (const std::string& line : jettest::lines(exported)) {
        std::vector<std::string> fields = jettest::csvFields(line);
        fields.erase(fields.begin() + std::ptrdiff_t(at));
        std::string joined;
        for (const std::string& f : fields)
            joined += (joined.empty() ? "" : ",") + f;
        out.push_back(joined);
    }
    return out;
}

std::vector<std::string> unquoted(const std::string& exported) {
    std::vector<std::string> out;
    for (const std::string& line : jettest::lines(exported)) {
        std::string joined;
        for (const std::string& f : jettest::csvFields(line))
            joined += (joined.empty() ? "" : ",") + f;
        out.push_back(joined);
    }
    return out;
}

std::vector<std::u16string> indexesOver(const std::filesystem::path& path,
                                        std::u16string_view table, std::u16string_view column) {
    PageFile file(path);
    TableDefinition definition = TableDefinition::read(file, definitionPageOf(path, table));
    std::vector<std::u16string> names;
    for (const IndexDesign& design : designOfDefinition(definition, std::u16string(table)).indexes)
        for (const IndexColumnDesign& c : design.columns)
            if (c.column == column)
                names.push_back(design.name);
    return names;
}

TEST_P(TableChanging, TableWithRowsDropsAndItsPagesComeFree) {
    jettest::ScratchFile scratch(GetParam());
    auto before = exports(scratch.path());
    std::size_t freeBefore = freePageCount(scratch.path());
    PageNumber page = definitionPageOf(scratch.path(), u"Table1");
    change(scratch.path(), [](SchemaWriter& w) { w.dropTable(u"Table1"); });

    before.erase("Table1");
    EXPECT_EQ(exports(scratch.path()), before);
    EXPECT_EQ(permissionRows(scratch.path(), page), 0u);
    EXPECT_GT(freePageCount(scratch.path()), freeBefore);
    expectIndexesMatch(scratch.path());
}

TEST_P(TableChanging, ChangedTableKeepsEveryRow) {
    jettest::ScratchFile scratch(GetParam());
    std::u16string table = u"Table1";
    auto before = exports(scratch.path());
    std::string exported = before[narrow(table)];

    catalog::Table original = modelOf(scratch.path(), table);
    catalog::Table wider = original;
    catalog::Column added = modelColumn(u"Added text", type::varWChar, 20);
    added.defaultValue = u"\"new\"";
    added.properties.push_back({u"Caption", daotype::text, Variant(u"Added")});
    wider.columns.push_back(added);
    wider.columns.push_back(modelColumn(u"Added memo", type::longVarWChar));
    wider.indexes.push_back(modelIndex(u"ByAddedText", {u"Added text"}));
    wider.indexes.push_back(modelIndex(u"ByFirstDescending", {original.columns.at(0).name}));
    wider.indexes.back().columns[0].descending = true;
    change(scratch.path(), [&](SchemaWriter& w) { w.changeTable(original, wider); });

    std::vector<std::string> widened;
    for (std::string line : unquoted(exported))
        widened.push_back(widened.empty() ? line + ",Added text,Added memo" : line + ",,");
    EXPECT_EQ(unquoted(jettest::mdbExport(scratch.path(), narrow(table)).text), widened);
    std::string properties = jettest::mdbTool("mdb-prop", scratch.path(), narrow(table)).text;
    EXPECT_TRUE(contains(properties, "Caption: Added")) << properties;
    std::string schema = jettest::mdbTool("mdb-schema", scratch.path(), "postgres").text;
    EXPECT_TRUE(contains(schema, "_byaddedtext_idx\" ON")) << schema;
    EXPECT_TRUE(contains(schema, "_byfirstdescending_idx\" ON")) << schema;
    expectIndexesMatch(scratch.path());

    // Back: the added columns and index dropped, and the table's second column with the
    // indexes over it.
    catalog::Table narrower = original;
    std::u16string second = narrower.columns.at(1).name;
    narrower.columns.erase(narrower.columns.begin() + 1);
    for (const std::u16string& name : indexesOver(scratch.path(), table, second))
        std::erase_if(narrower.indexes, [&](const catalog::Index& i) { return i.name == name; });
    change(scratch.path(), [&](SchemaWriter& w) { w.changeTable(wider, narrower); });
    EXPECT_EQ(unquoted(jettest::mdbExport(scratch.path(), narrow(table)).text),
              withoutField(exported, 1));
    properties = jettest::mdbTool("mdb-prop", scratch.path(), narrow(table)).text;
    EXPECT_FALSE(contains(properties, "Caption: Added")) << properties;
    expectIndexesMatch(scratch.path());
    auto after = exports(scratch.path());
    before.erase(narrow(table));
    after.erase(narrow(table));
    EXPECT_EQ(after, before);
}

std::size_t definitionPages(const std::filesystem::path& path, std::u16string_view table) {
    PageFile file(path);
    return TableDefinition::read(file, definitionPageOf(path, table)).pages.size();
}

TEST_P(SchemaWriting, DefinitionTakesMorePagesAndGivesThemBack) {
    jettest::ScratchFile scratch(GetParam());
    change(scratch.path(), [](SchemaWriter& w) { w.createTable(ordersTable()); });
    std::u16string table = u"Kelvor Orders";
    std::size_t pagesBefore = definitionPages(scratch.path(), table);
    catalog::Table original = ordersTable();
    catalog::Table wide = original;
    for (int i = 0; i < 70; ++i) {
        std::string name = "A column with a name long enough to fill pages " + std::to_string(i);
        wide.columns.push_back(modelColumn(std::u16string(name.begin(), name.end()),
                                           i % 2 ? type::integer : type::varWChar, 30));
    }
    change(scratch.path(), [&](SchemaWriter& w) { w.changeTable(original, wide); });
    EXPECT_GT(definitionPages(scratch.path(), table), pagesBefore);
    std::vector<std::string> header = jettest::csvFields(
        jettest::lines(jettest::mdbExport(scratch.path(), narrow(table)).text).at(0));
    EXPECT_EQ(header.size(), wide.columns.size());
    expectIndexesMatch(scratch.path());

    change(scratch.path(), [&](SchemaWriter& w) { w.changeTable(wide, original); });
    EXPECT_EQ(definitionPages(scratch.path(), table), pagesBefore);
    header = jettest::csvFields(
        jettest::lines(jettest::mdbExport(scratch.path(), narrow(table)).text).at(0));
    EXPECT_EQ(header.size(), original.columns.size());

    // A table that needs more than one page from the start.
    catalog::Table big = wide;
    big.name = u"Kelvor Wide";
    change(scratch.path(), [&](SchemaWriter& w) { w.createTable(big); });
    EXPECT_GT(definitionPages(scratch.path(), u"Kelvor Wide"), 1u);
    EXPECT_TRUE(contains(jettest::mdbTool("mdb-schema", scratch.path(), "postgres").text,
                         "\"a column with a name long enough to fill pages 69\""));
}

// The catalog row of a new table carries what Access puts in the rows of the tables it makes:
// the Tables container as parent, type 1, flags 0, the owner of the other user tables.
TEST_P(SchemaWriting, CatalogRowLooksLikeTheOnesAccessWrites) {
    jettest::ScratchFile scratch(GetParam());
    change(scratch.path(), [](SchemaWriter& w) { w.createTable(ordersTable()); });
    std::vector<std::string> lines =
        jettest::lines(jettest::mdbTool("mdb-export -b hex", scratch.path(), "MSysObjects").text);
    std::vector<std::string> header = jettest::csvFields(lines.at(0));
    auto field = [&](const std::vector<std::string>& row, const std::string& name) {
        return row.at(std::size_t(std::find(header.begin(), header.end(), name) - header.begin()));
    };
    std::optional<std::vector<std::string>> created;
    std::set<std::string> userOwners;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> row = jettest::csvFields(lines[i]);
        if (field(row, "Name") == "Kelvor Orders")
            created = row;
        else if (field(row, "Type") == "1" && field(row, "Flags") == "0")
            userOwners.insert(field(row, "Owner"));
    }
    ASSERT_TRUE(created);
    EXPECT_EQ(field(*created, "Id"),
              std::to_string(definitionPageOf(scratch.path(), u"Kelvor Orders")));
    EXPECT_EQ(field(*created, "ParentId"), "251658241");
    EXPECT_EQ(field(*created, "Type"), "1");
    EXPECT_EQ(field(*created, "Flags"), "0");
    EXPECT_FALSE(field(*created, "Owner").empty());
    if (!userOwners.empty()) {
        EXPECT_TRUE(userOwners.count(field(*created, "Owner"))) << field(*created, "Owner");
    }
    EXPECT_EQ(field(*created, "DateCreate"), field(*created, "DateUpdate"));

    // The permissions Access gave the table it made in this file.
    if (PageNumber accessTable = definitionPageOf(scratch.path(), u"Table1")) {
        EXPECT_EQ(permissions(scratch.path(), definitionPageOf(scratch.path(), u"Kelvor Orders")),
                  permissions(scratch.path(), accessTable));
    }
}

TEST_P(JavaScriptReading, ReadsTheWrittenFile) {
    jettest::ScratchFile scratch(GetParam());
    std::optional<std::vector<std::string>> before = jettest::nodeReaderTables(scratch.path());
    if (!before)
        GTEST_SKIP() << "node or mdb-reader not available";
    bool hasRows = definitionPageOf(scratch.path(), u"Table1") != 0;
    std::size_t rows =
        hasRows ? jettest::lines(jettest::mdbExport(scratch.path(), "Table1").text).size() - 1 : 0;
    change(scratch.path(), [&](SchemaWriter& w) {
        w.createTable(ordersTable());
        if (!hasRows)
            return;
        catalog::Table original = modelOf(scratch.path(), u"Table1");
        catalog::Table wider = original;
        wider.columns.push_back(modelColumn(u"Added text", type::varWChar, 20));
        w.changeTable(original, wider);
    });
    std::vector<std::string> after = *jettest::nodeReaderTables(scratch.path());
    std::vector<std::string> unchanged;
    for (const std::string& line : after) {
        if (line.starts_with("Kelvor Orders|")) {
            EXPECT_TRUE(line.starts_with("Kelvor Orders|0|0|Id:long:4")) << line;
            for (const char* part : {"Customer:text:100", "Amount:numeric:", "Notes:memo:",
                                     "Paid:boolean:", "Ref:repid:16", "Picture:ole:"})
                EXPECT_TRUE(contains(line, part)) << part << " in " << line;
        } else if (line.starts_with("Table1|")) {
            std::string count = std::to_string(rows);
            EXPECT_TRUE(line.starts_with("Table1|" + count + "|" + count + "|")) << line;
            EXPECT_TRUE(line.ends_with(",Added text:text:40")) << line;
        } else {
            unchanged.push_back(line);
        }
    }
    std::erase_if(*before, [](const std::string& line) { return line.starts_with("Table1|"); });
    EXPECT_EQ(unchanged, *before);
}

std::string catalogFlags(const std::filesystem::path& path, const std::string& name) {
    std::vector<std::string> lines =
        jettest::lines(jettest::mdbTool("mdb-export -b hex", path, "MSysObjects").text);
    std::vector<std::string> header = jettest::csvFields(lines.at(0));
    std::size_t nameAt =
        std::size_t(std::find(header.begin(), header.end(), "Name") - header.begin());
    std::size_t flagsAt =
        std::size_t(std::find(header.begin(), header.end(), "Flags") - header.begin());
    for (const std::string& line : lines) {
        std::vector<std::string> fields = jettest::csvFields(line);
        if (fields.size() == header.size() && fields[nameAt] == name)
            return fields[flagsAt];
    }
    return "no row";
}

TEST_P(SchemaWriting, HiddenTableIsFlaggedAndShownAgain) {
    jettest::ScratchFile scratch(GetParam());
    catalog::Table hidden = ordersTable();
    hidden.hidden = true;
    change(scratch.path(), [&](SchemaWriter& w) { w.createTable(hidden); });
    EXPECT_EQ(catalogFlags(scratch.path(), "Kelvor Orders"), "8");
    catalog::Table shown = hidden;
    shown.hidden = false;
    change(scratch.path(), [&](SchemaWriter& w) { w.changeTable(hidden, shown); });
    EXPECT_EQ(catalogFlags(scratch.path(), "Kelvor Orders"), "0");
    EXPECT_TRUE(contains(jettest::mdbTool("mdb-prop", scratch.path(), "Kelvor Orders").text,
                         "Caption: Customer name"))
        << "the properties stay";
}

TEST_P(SchemaWriting, DroppedMemoColumnFreesItsValues) {
    jettest::ScratchFile scratch(GetParam());
    catalog::Table notes;
    notes.name = u"Kelvor Notes";
    notes.columns = {modelColumn(u"Id", type::integer), modelColumn(u"Note", type::longVarWChar),
                     modelColumn(u"Keep", type::varWChar, 20)};
    change(scratch.path(), [&](SchemaWriter& w) { w.createTable(notes); });
    constexpr std::uint32_t rows = 30;
    {
        WorkingCopy copy(scratch.path());
        PageAllocator allocator(copy);
        TableWriter table(copy, allocator, definitionPageOf(scratch.path(), notes.name));
        const TableDefinition& d = table.definition();
        LongValueWriter values(copy, allocator, d, d.columns.at(1).number);
        for (std::uint32_t i = 0; i < rows; ++i) {
            Bytes id;
            appendU32(id, i);
            std::u16string note(3000, char16_t(u'a' + i % 26));
            ColumnValues row{{d.columns[0].number, id},
                             {d.columns[1].number, values.store(encodeText(note), 0)},
                             {d.columns[2].number,
                              encodeText(u"keep " + std::u16string(1, char16_t(u'A' + i)))}};
            table.insert(buildRow(d, row));
        }
        table.saveDefinition();
        copy.commitStatement();
        copy.close();
    }
    std::size_t freeBefore = freePageCount(scratch.path());
    catalog::Table narrower = notes;
    narrower.columns.erase(narrower.columns.begin() + 1);
    change(scratch.path(), [&](SchemaWriter& w) { w.changeTable(notes, narrower); });

    EXPECT_GE(freePageCount(scratch.path()), freeBefore + rows * 6000 / 4096)
        << "the values' pages are free";
    std::vector<std::string> exported =
        unquoted(jettest::mdbExport(scratch.path(), "Kelvor Notes").text);
    ASSERT_EQ(exported.size(), rows + 1);
    EXPECT_EQ(exported[0], "Id,Keep");
    EXPECT_EQ(exported[1], "0,keep A");
    EXPECT_EQ(exported[rows], std::to_string(rows - 1) + ",keep " + char('A' + rows - 1));
}

TEST(SchemaRefusals, TablesAndColumnsOfRelationshipsStay) {
    for (const char* name : {"indexTestV2003.mdb", "indexTestV2010.accdb"}) {
        jettest::ScratchFile scratch(name);
        WorkingCopy copy(scratch.path());
        SchemaWriter writer(copy);
        EXPECT_THROW(writer.dropTable(u"Table2"), DefinitionRefused) << name;
        EXPECT_THROW(writer.dropTable(u"table1"), DefinitionRefused) << name;
        catalog::Table before = modelOf(scratch.path(), u"Table1");
        catalog::Table after = before;
        std::erase_if(after.columns,
                      [](const catalog::Column& c) { return c.name == u"otherfk1"; });
        ASSERT_EQ(after.columns.size() + 1, before.columns.size()) << name;
        EXPECT_THROW(writer.changeTable(before, after), DefinitionRefused) << name;
    }
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::erase_if(name, [](char c) { return !std::isalnum(c); });
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, SchemaWriting,
                         testing::Values("emptyJet4.mdb", "empty2010.accdb", "testV2003.mdb",
                                         "testV2010.accdb"),
                         testName);
INSTANTIATE_TEST_SUITE_P(Files, TableChanging,
                         testing::Values("testV2003.mdb", "testV2010.accdb",
                                         "compIndexTestV2003.mdb"),
                         testName);
INSTANTIATE_TEST_SUITE_P(Files, JavaScriptReading,
                         testing::Values("empty2010.accdb", "testV2003.mdb"), testName);

} // namespace

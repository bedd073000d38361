// The catalog model written by the schema writer reads back through the libmdb reader the
// engine uses as the same model: a new table, and a table of Access's own changed from the
// model that reader gives of it.

#include "CatalogBuilders.h"
#include "ScratchFile.h"

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/jetfile/SchemaWriter.h"
#include "foundation/engine/mdbfile/FileReader.h"

#include <gtest/gtest.h>

using namespace engine;

using jettest::modelColumn;
using jettest::modelIndex;

namespace {

catalog::Table readTable(const std::filesystem::path& path, std::u16string_view name) {
    mdbfile::FileSnapshot snapshot = mdbfile::readAccessFile(path.string());
    const catalog::Table* table = snapshot.catalog.findTable(name);
    if (table == nullptr)
        throw std::runtime_error("the reader finds no such table");
    return *table;
}

std::string narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

void expectSameProperties(const catalog::Column& wanted, const catalog::Column& read) {
    for (const catalog::Property& p : wanted.properties) {
        const catalog::Property* found = read.findProperty(p.name);
        ASSERT_NE(found, nullptr) << narrow(wanted.name) << "." << narrow(p.name);
        EXPECT_EQ(found->type, p.type) << narrow(p.name);
        EXPECT_EQ(found->value.toText(), p.value.toText()) << narrow(p.name);
    }
}

void expectSameColumns(const catalog::Table& wanted, const catalog::Table& read) {
    ASSERT_EQ(read.columns.size(), wanted.columns.size());
    for (std::size_t i = 0; i < wanted.columns.size(); ++i) {
        const catalog::Column& w = wanted.columns[i];
        const catalog::Column& r = read.columns[i];
        std::string where = narrow(w.name);
        EXPECT_EQ(r.name, w.name);
        EXPECT_EQ(r.type, w.type) << where;
        if (w.type == type::varWChar || w.type == type::wChar || w.type == type::varBinary) {
            EXPECT_EQ(r.size, w.size) << where;
        }
        if (w.type == type::decimal) {
            EXPECT_EQ(r.precision, w.precision) << where;
            EXPECT_EQ(r.scale, w.scale) << where;
        }
        EXPECT_EQ(r.nullable, w.nullable) << where;
        EXPECT_EQ(r.autoIncrement, w.autoIncrement) << where;
        EXPECT_EQ(r.compressed, w.compressed) << where;
        EXPECT_EQ(r.allowZeroLength, w.allowZeroLength) << where;
        EXPECT_EQ(r.defaultValue, w.defaultValue) << where;
        EXPECT_EQ(r.validationRule, w.validationRule) << where;
        EXPECT_EQ(r.validationText, w.validationText) << where;
        expectSameProperties(w, r);
    }
}

void expectSameIndexes(const catalog::Table& wanted, const catalog::Table& read) {
    ASSERT_EQ(read.indexes.size(), wanted.indexes.size());
    for (const catalog::Index& w : wanted.indexes) {
        const catalog::Index* r = read.findIndex(w.name);
        ASSERT_NE(r, nullptr) << narrow(w.name);
        EXPECT_EQ(r->primary, w.primary) << narrow(w.name);
        EXPECT_EQ(r->unique, w.unique || w.primary) << narrow(w.name);
        EXPECT_EQ(r->nulls, w.primary ? adox::indexNullsDisallow : w.nulls) << narrow(w.name);
        ASSERT_EQ(r->columns.size(), w.columns.size());
        for (std::size_t i = 0; i < w.columns.size(); ++i) {
            EXPECT_EQ(r->columns[i].name, w.columns[i].name);
            EXPECT_EQ(r->columns[i].descending, w.columns[i].descending);
        }
    }
}

catalog::Table newTable() {
    catalog::Table t;
    t.name = u"Kelvor Round Trip";
    t.validationRule = u"[Low] <= [High]";
    t.validationText = u"Low above high";
    catalog::Column id = modelColumn(u"Id", type::integer, 4);
    id.autoIncrement = true;
    catalog::Column low = modelColumn(u"Low", type::doubleType, 8);
    low.nullable = false;
    low.defaultValue = u"0";
    low.properties.push_back({u"DecimalPlaces", daotype::byte, Variant(std::uint8_t(3))});
    low.properties.push_back({u"Format", daotype::text, Variant(u"Standard")});
    catalog::Column high = modelColumn(u"High", type::doubleType, 8);
    high.validationRule = u"< 1000";
    high.validationText = u"Too high";
    catalog::Column label = modelColumn(u"Label", type::varWChar, 80);
    label.compressed = true;
    label.allowZeroLength = true;
    label.properties.push_back({u"Caption", daotype::text, Variant(u"The label")});
    label.properties.push_back({u"Description", daotype::text, Variant(u"What it is")});
    catalog::Column amount = modelColumn(u"Amount", type::decimal, 19);
    amount.precision = 12;
    amount.scale = 4;
    t.columns = {id,
                 low,
                 high,
                 label,
                 amount,
                 modelColumn(u"Fixed", type::wChar, 6),
                 modelColumn(u"Bytes", type::varBinary, 32),
                 modelColumn(u"Text", type::longVarWChar),
                 modelColumn(u"When", type::date, 8),
                 modelColumn(u"Flag", type::boolean, 2)};
    catalog::Index primary{u"PrimaryKey",   true, true, adox::indexNullsDisallow, false,
                           {{u"Id", false}}};
    catalog::Index byLabel{u"ByLabel", false,
                           true,       adox::indexNullsIgnore,
                           false,      {{u"Label", false}, {u"When", true}}};
    catalog::Index byLow{u"ByLow",         false, false, adox::indexNullsDisallow, false,
                         {{u"Low", false}}};
    t.indexes = {primary, byLabel, byLow};
    return t;
}

void write(const std::filesystem::path& path,
           const std::function<void(engine::jetfile::SchemaWriter&)>& body) {
    engine::jetfile::WorkingCopy copy(path);
    engine::jetfile::SchemaWriter writer(copy);
    body(writer);
    copy.commitStatement();
    copy.close();
}

class SchemaRoundTrip : public testing::TestWithParam<std::string> {};

TEST_P(SchemaRoundTrip, NewTableReadsBackAsItsModel) {
    jettest::ScratchFile scratch(GetParam());
    catalog::Table wanted = newTable();
    write(scratch.path(), [&](auto& w) { w.createTable(wanted); });
    catalog::Table read = readTable(scratch.path(), wanted.name);
    EXPECT_EQ(read.validationRule, wanted.validationRule);
    EXPECT_EQ(read.validationText, wanted.validationText);
    expectSameColumns(wanted, read);
    expectSameIndexes(wanted, read);
}

TEST_P(SchemaRoundTrip, AccessTableChangedFromItsModelReadsBackAsTheNewModel) {
    jettest::ScratchFile scratch(GetParam());
    catalog::Table before = readTable(scratch.path(), u"Table1");
    catalog::Table after = before;
    catalog::Column added = modelColumn(u"Added", type::varWChar, 30);
    added.defaultValue = u"\"x\"";
    added.properties.push_back({u"Caption", daotype::text, Variant(u"Added later")});
    after.columns.push_back(added);
    after.columns.erase(after.columns.begin() + 1);
    after.columns.front().defaultValue = u"\"first\"";
    after.columns.front().properties.push_back(
        {u"Description", daotype::text, Variant(u"Now described")});
    // Access's primary key redefined: descending now.
    auto primary = std::find_if(after.indexes.begin(), after.indexes.end(),
                                [](const catalog::Index& i) { return i.primary; });
    ASSERT_NE(primary, after.indexes.end());
    primary->columns.at(0).descending = !primary->columns[0].descending;
    after.indexes.push_back(
        {u"ByAdded", false, true, adox::indexNullsIgnore, false, {{u"Added", false}}});
    std::erase_if(after.indexes, [&](const catalog::Index& i) {
        for (const catalog::IndexColumn& c : i.columns)
            if (c.name == before.columns[1].name)
                return true;
        return false;
    });
    write(scratch.path(), [&](auto& w) { w.changeTable(before, after); });
    catalog::Table read = readTable(scratch.path(), u"Table1");
    expectSameColumns(after, read);
    expectSameIndexes(after, read);
}

INSTANTIATE_TEST_SUITE_P(Files, SchemaRoundTrip,
                         testing::Values("testV2003.mdb", "testV2010.accdb"), [](const auto& info) {
                             std::string name = info.param;
                             std::erase_if(name, [](char c) { return !std::isalnum(c); });
                             return name;
                         });

} // namespace

// Tables created, dropped and changed through the catalog model in copies of shared files:
// after the working copy closes (its read-back passes), our reader, the index check and
// libmdb's tools all see the new structure, the rows kept and the other tables as before.

#include "ScratchFile.h"

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexCheck.h"
#include "foundation/engine/jetfile/SchemaWriter.h"
#include "foundation/engine/jetfile/TableSpec.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace engine;
using namespace engine::jetfile;

namespace {

catalog::Column column(std::u16string name, int type, int size = 0) {
    catalog::Column c;
    c.name = std::move(name);
    c.type = type;
    c.size = size;
    return c;
}

catalog::Index index(std::u16string name, std::vector<std::u16string> columns) {
    catalog::Index i;
    i.name = std::move(name);
    for (std::u16string& c : columns)
        i.columns.push_back({std::move(c), false});
    return i;
}

// A table of every type the dialect names, with the settings DDL and DAO give columns.
catalog::Table ordersTable() {
    catalog::Table t;
    t.name = u"Kelvor Orders";
    t.validationRule = u"[Amount] >= 0";
    t.validationText = u"No negative amounts";
    catalog::Column id = column(u"Id", type::integer);
    id.autoIncrement = true;
    id.nullable = false;
    catalog::Column name = column(u"Customer", type::varWChar, 50);
    name.nullable = false;
    name.compressed = true;
    name.defaultValue = u"\"nobody\"";
    name.properties.push_back({u"Caption", daotype::text, Variant(u"Customer name")});
    name.properties.push_back({u"Description", daotype::text, Variant(u"Who ordered")});
    catalog::Column code = column(u"Code", type::wChar, 4);
    catalog::Column amount = column(u"Amount", type::decimal);
    amount.precision = 10;
    amount.scale = 2;
    amount.validationRule = u">= 0";
    amount.validationText = u"Amounts are not negative";
    amount.properties.push_back({u"Format", daotype::text, Variant(u"Fixed")});
    amount.properties.push_back({u"DecimalPlaces", daotype::byte, Variant(std::uint8_t(2))});
    catalog::Column notes = column(u"Notes", type::longVarWChar);
    notes.allowZeroLength = true;
    t.columns = {id,
                 name,
                 code,
                 amount,
                 notes,
                 column(u"Small", type::tinyInt),
                 column(u"Short", type::smallInt),
                 column(u"Real", type::single),
                 column(u"Wide", type::doubleType),
                 column(u"Price", type::currency),
                 column(u"Placed", type::date),
                 column(u"Paid", type::boolean),
                 column(u"Ref", type::guid),
                 column(u"Raw", type::varBinary, 16),
                 column(u"Picture", type::longVarBinary)};
    catalog::Index primary = index(u"PrimaryKey", {u"Id"});
    primary.primary = true;
    catalog::Index byCustomer = index(u"ByCustomer", {u"Customer", u"Placed"});
    byCustomer.unique = true;
    byCustomer.nulls = adox::indexNullsIgnore;
    byCustomer.columns[1].descending = true;
    catalog::Index byCode = index(u"ByCode", {u"Code"});
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

class SchemaWriting : public testing::TestWithParam<std::string> {};

TEST_P(SchemaWriting, CreatedTableReadsBackEverywhere) {
    jettest::ScratchFile scratch(GetParam());
    auto before = exports(scratch.path());
    change(scratch.path(), [](SchemaWriter& w) { w.createTable(ordersTable()); });

    auto after = exports(scratch.path());
    ASSERT_EQ(after.count("Kelvor Orders"), 1u);
    EXPECT_EQ(jettest::lines(after["Kelvor Orders"]).size(), 1u) << "a header and no rows";
    after.erase("Kelvor Orders");
    EXPECT_EQ(after, before);
    expectIndexesMatch(scratch.path());
    std::cout << jettest::mdbTool("mdb-schema", scratch.path()).text;
    std::cout << jettest::mdbTool("mdb-prop", scratch.path(), "Kelvor Orders").text;
}

INSTANTIATE_TEST_SUITE_P(Files, SchemaWriting,
                         testing::Values("emptyJet4.mdb", "empty2010.accdb", "testV2003.mdb",
                                         "testV2010.accdb"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::erase_if(name, [](char c) { return !std::isalnum(c); });
                             return name;
                         });

} // namespace

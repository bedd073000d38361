#include "AccessFiles.h"
#include "EngineFailure.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/mdbfile/LibmdbFile.h"
#include "foundation/engine/mdbfile/MdbFileBackend.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <unistd.h>

using namespace engine;
using mdbtest::openAccessFile;

using mdbtest::failure;

namespace {

std::vector<std::u16string> column(const std::shared_ptr<ado::Recordset>& rows,
                                   std::u16string_view name) {
    std::vector<std::u16string> values;
    for (; !rows->eof(); rows->moveNext())
        values.push_back(rows->fields()->item(name)->value().toText().value_or(u"<null>"));
    return values;
}

std::vector<std::u16string> run(Session& session, const std::u16string& sql,
                                const std::vector<Variant>& parameters = {}) {
    return column(session.execute(sql, parameters, nullptr), u"Name");
}

constexpr std::u16string_view readOnlyText = u"Cannot update. Database or object is read-only.";

} // namespace

// The listing queries of the Access object reader, unchanged.
TEST(AccessSession, ListsTheAccessObjectsFromMSysObjects) {
    auto nwind = openAccessFile("nwind.mdb");
    std::vector<std::u16string> forms =
        run(*nwind, u"SELECT Name FROM MSysObjects WHERE Type=-32768");
    EXPECT_EQ(forms.size(), 21u);
    EXPECT_NE(std::find(forms.begin(), forms.end(), u"Main Switchboard"), forms.end());
    EXPECT_EQ(run(*nwind, u"SELECT Name FROM MSysObjects WHERE Type=-32761"),
              (std::vector<std::u16string>{u"Northwind Help Function", u"Startup",
                                           u"Utility Functions"}));
    EXPECT_EQ(run(*nwind, u"SELECT Name FROM MSysObjects WHERE Type=-32764").size(), 13u);
    EXPECT_EQ(run(*nwind, u"SELECT Name FROM MSysObjects WHERE Type=-32766").size(), 7u);
    // No table of the shared files has data macros.
    EXPECT_TRUE(run(*nwind, u"SELECT [Name] FROM MSysObjects WHERE Not IsNull(LvExtra) and Type=1")
                    .empty());
    EXPECT_EQ(run(*openAccessFile("odbcLinkerTestV2007.accdb"),
                  u"SELECT [Name] FROM MSysObjects WHERE Not IsNull(Connect) and Type=4"),
              std::vector<std::u16string>{u"Ordrar"});
}

TEST(AccessSession, SelectsWithParametersOrderAndColumnValues) {
    auto session = openAccessFile("nwind.mdb");
    EXPECT_EQ(run(*session,
                  u"select MSysObjects.Name from [MSysObjects] where Type = ? and Name like ? "
                  u"order by Name desc;",
                  {Variant(std::int32_t(-32761)), Variant(u"?t*")}),
              (std::vector<std::u16string>{u"Utility Functions", u"Startup"}));
    auto rows = session->execute(
        u"SELECT DISTINCT Type AS Kind FROM MSysObjects WHERE Type < 0 ORDER BY Type", {}, nullptr);
    EXPECT_EQ(column(rows, u"Kind"),
              (std::vector<std::u16string>{u"-32768", u"-32766", u"-32764", u"-32761", u"-32758",
                                           u"-32757"}));
    std::int64_t affected = 0;
    auto all = session->execute(u"SELECT * FROM MSysObjects WHERE Name = 'Orders' AND Type = 1", {},
                                &affected);
    EXPECT_EQ(affected, -1);
    ASSERT_FALSE(all->eof());
    auto fields = all->fields();
    EXPECT_EQ(fields->count(), 9);
    EXPECT_EQ(fields->item(u"flags")->value(), Variant(std::int32_t(0)));
    EXPECT_TRUE(fields->item(u"LvExtra")->value().isNull());
    EXPECT_TRUE(fields->item(u"Connect")->value().isNull());
    all->moveNext();
    EXPECT_TRUE(all->eof());
    EXPECT_EQ(failure([&] { all->moveNext(); }).substr(0, 26), u"Either BOF or EOF is True,");
    all->close();
    EXPECT_EQ(all->state(), ado::stateClosed);
    EXPECT_EQ(failure([&] { all->eof(); }), errors::objectClosed().description());
}

TEST(AccessSession, LinkedTablesAreInTheObjectList) {
    auto session = openAccessFile("linkerTestV2007.accdb");
    auto rows = session->execute(
        u"SELECT Name, Database, ForeignName FROM MSysObjects WHERE Type = 6", {}, nullptr);
    ASSERT_FALSE(rows->eof());
    EXPECT_EQ(rows->fields()->item(u"Name")->value(), Variant(u"Table2"));
    EXPECT_EQ(rows->fields()->item(u"Database")->value(),
              Variant(u"Z:\\jackcess_test\\linkeeTest.accdb"));
    EXPECT_EQ(rows->fields()->item(u"ForeignName")->value(), Variant(u"Table1"));
}

TEST(AccessSession, StatementsItCannotAnswerFailClearly) {
    auto session = openAccessFile("testV2003.mdb");
    auto fails = [&](const std::u16string& sql) {
        return failure([&] { session->execute(sql, {}, nullptr); });
    };
    EXPECT_EQ(fails(u"SELECT * FROM Table1"),
              u"Object or provider is not capable of performing requested operation.");
    EXPECT_EQ(fails(u"SELECT * FROM Nowhere"), errors::tableNotFound(u"Nowhere").description());
    EXPECT_EQ(fails(u"SELECT Nonsense FROM MSysObjects"),
              u"No value given for one or more required parameters.");
    EXPECT_EQ(fails(u"SELECT Name FROM MSysObjects WHERE Type = ?"),
              u"No value given for one or more required parameters.");
    EXPECT_EQ(fails(u"SELECT Name FROM MSysObjects WHERE Name > 3"),
              u"Data type mismatch in criteria expression.");
    EXPECT_EQ(fails(u"SELECT Name FROM MSysObjects WHERE (Type = 1"),
              u"Syntax error in SELECT statement.");
    EXPECT_EQ(fails(u"SELECT Name FROM"), u"Syntax error in SELECT statement.");
    EXPECT_EQ(fails(u"EXPLAIN"), u"Invalid SQL statement; expected 'DELETE', 'INSERT', "
                                 u"'PROCEDURE', 'SELECT', or 'UPDATE'.");
    session->close();
    EXPECT_EQ(failure([&] { session->catalog(); }), errors::objectClosed().description());
    EXPECT_EQ(fails(u"SELECT Name FROM MSysObjects"), errors::objectClosed().description());
}

// Every change fails, and the file keeps its bytes and its modification time, even when the
// process could write it.
TEST(AccessSession, EveryWriteFailsAndTheFileStaysAsItWas) {
    namespace fs = std::filesystem;
    fs::path directory = fs::temp_directory_path() / ("kel-mdb-ro-" + std::to_string(getpid()));
    fs::create_directories(directory);
    fs::path copy = directory / "copy.mdb";
    fs::copy_file(mdbtest::accessFile("testV2003.mdb"), copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
    auto read = [&] {
        std::ifstream in(copy, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    };
    const std::vector<char> before = read();
    const auto modified = fs::last_write_time(copy);

    mdbfile::MdbFileBackend backend;
    OpenParameters parameters;
    parameters.path = text::fromUtf8(copy.string());
    auto session = backend.open(parameters);
    for (const std::u16string sql :
         {u"INSERT INTO Table1 (A) VALUES ('x')", u"UPDATE Table1 SET A = 'y'",
          u"DELETE FROM Table1", u"delete * from Table1", u"CREATE TABLE T (x LONG)",
          u"ALTER TABLE Table1 ADD COLUMN Z TEXT(10)", u"DROP TABLE Table1",
          u"CREATE INDEX i ON Table1 (B)", u"SELECT A INTO Copy FROM Table1",
          u"  insert into [Table1] select * from Table1"})
        EXPECT_EQ(failure([&] { session->execute(sql, {}, nullptr); }), readOnlyText)
            << text::toUtf8(sql);
    catalog::Column extra;
    extra.name = u"Z";
    catalog::Table table;
    table.name = u"T";
    EXPECT_EQ(failure([&] { session->appendColumn(u"Table1", extra); }), readOnlyText);
    EXPECT_EQ(failure([&] { session->alterColumn(u"Table1", u"A", extra); }), readOnlyText);
    EXPECT_EQ(failure([&] { session->dropColumn(u"Table1", u"A"); }), readOnlyText);
    EXPECT_EQ(failure([&] { session->appendTable(table); }), readOnlyText);
    EXPECT_EQ(failure([&] { session->appendRelation({}); }), readOnlyText);
    EXPECT_EQ(failure([&] { session->dropRelation(u"R"); }), readOnlyText);
    EXPECT_EQ(failure([&] { session->appendQuery(u"Q", u"SELECT 1"); }), readOnlyText);
    session->close();

    EXPECT_EQ(read(), before);
    EXPECT_EQ(fs::last_write_time(copy), modified);
    fs::remove_all(directory);
}

// Long binary values cost page reads each: they are read only for the rows the caller takes.
TEST(AccessSession, LongValuesAreReadForTheRowsAsked) {
    mdbfile::LibmdbFile file(mdbtest::accessFile("nwind.mdb"));
    auto countLong = [](const std::vector<std::vector<mdbfile::Cell>>& rows) {
        std::size_t forms = 0, others = 0;
        for (const auto& row : rows) {
            if (row[1].null)
                continue;
            EXPECT_FALSE(row[1].bytes.empty());
            (row[0].text == "-32768" ? forms : others) += 1;
        }
        return std::pair(forms, others);
    };
    auto all = countLong(file.readRows(u"MSysObjects", {"Type", "LvExtra"}));
    EXPECT_GT(all.first, 0u);
    auto formsOnly = countLong(file.readRows(
        u"MSysObjects", {"Type", "LvExtra"},
        [](const std::vector<mdbfile::Cell>& row) { return row[0].text == "-32768"; }));
    EXPECT_EQ(formsOnly, std::pair(all.first, std::size_t(0)));
    auto none = countLong(file.readRows(u"MSysObjects", {"Type", "LvExtra"},
                                        [](const std::vector<mdbfile::Cell>&) { return false; }));
    EXPECT_EQ(none, std::pair(std::size_t(0), std::size_t(0)));
}

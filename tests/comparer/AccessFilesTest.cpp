// kelvor and kelrun on real Access files: Access files compared with each other and with
// embedded databases, damaged copies, and replicas of every shared file. The shared files are
// read where they lie; damaged copies and replicas live in a folder of the test's own.

#include "compare/SchemaComparison.h"
#include "foundation/settings/Progress.h"
#include "reader/SchemaReader.h"
#include "schema/AccessDataTypeName.h"
#include "schema/Table.h"
#include "schema/View.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/KelvorProcess.h"
#include "tests/foundation/mdbfile/PatchedColumnType.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <random>

namespace {

namespace fs = std::filesystem;

fs::path shared(const std::string& name) {
    return fs::path(KEL_ACCESS_DATA_DIR) / name;
}

std::vector<std::string> sharedFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(KEL_ACCESS_DATA_DIR, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "kel-access-e2e-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

constexpr const char* identical = "database schemas are identical";

} // namespace

TEST(AccessFilesEndToEnd, AccessFilesCompareWithEachOtherAndWithEmbeddedDatabases) {
    Folder folder;
    const std::string nwindBefore = bytesOf(shared("nwind.mdb"));

    // The same tables in Jet 4 and ACE 14.
    KelvorOutcome same = runKelvor({shared("testV2003.mdb").string(),
                                    shared("testV2010.accdb").string(), folder / "same.sql", "/e"});
    EXPECT_EQ(same.out, identical) << same.err;
    EXPECT_FALSE(fs::exists(folder / "same.sql"));

    // Jet 3 compresses no text: the script gives the Jet 4 file's compression.
    KelvorOutcome formats =
        runKelvor({shared("testV1997.mdb").string(), shared("testV2003.mdb").string(),
                   folder / "formats.sql", "/e"});
    EXPECT_EQ(formats.out, "") << formats.err;
    std::string script = bytesOf(folder / "formats.sql");
    EXPECT_TRUE(contains(script, "ALTER COLUMN [A] TEXT(50) WITH COMPRESSION")) << script;

    // From an empty embedded database to Northwind, and back.
    std::string empty = folder / "empty.db";
    createDatabase(empty, {});
    KelvorOutcome create = runKelvor({empty, shared("nwind.mdb").string(), folder / "c.sql", "/e"});
    EXPECT_EQ(create.out, "") << create.err;
    script = bytesOf(folder / "c.sql");
    for (const char* part :
         {"CREATE TABLE [Order Details] (",
          "\tCONSTRAINT [PrimaryKey] PRIMARY KEY ([OrderID], [ProductID])",
          "ADD CONSTRAINT [OrdersOrder Details]", "\tON DELETE CASCADE;", "\tON UPDATE CASCADE;",
          "CREATE PROCEDURE [Sales by Year] (",
          "CREATE VIEW [Ten Most Expensive Products] AS SELECT DISTINCTROW TOP 10"})
        EXPECT_TRUE(contains(script, part)) << part;
    KelvorOutcome drop = runKelvor({shared("nwind.mdb").string(), empty, folder / "d.sql", "/e"});
    EXPECT_EQ(drop.out, "") << drop.err;
    script = bytesOf(folder / "d.sql");
    EXPECT_TRUE(contains(script, "DROP TABLE [Orders];")) << script;
    EXPECT_TRUE(contains(script, "DROP VIEW [Invoices];")) << script;

    EXPECT_TRUE(bytesOf(shared("nwind.mdb")) == nwindBefore) << "the shared file changed";
}

// A file of a newer Access: Date/Time Extended is carried into the script as a column that
// can be made; a type nobody knows is named in a warning and its statement fails plainly.
TEST(AccessFilesEndToEnd, NewerColumnTypesInTheScriptAndTheRun) {
    Folder folder;
    std::string file = folder / "newer.accdb";
    fs::copy_file(shared("testV2010.accdb"), file);
    ASSERT_EQ(mdbtest::patchColumnTypes(file, {"A", "B", "C", "D", "E", "F", "G", "H", "I"},
                                        {{"G", 0x14}, {"F", 0x7E}}),
              2);
    std::string empty = folder / "empty.db";
    createDatabase(empty, {});
    KelvorOutcome written = runKelvor({empty, file, folder / "newer.sql", "/e"});
    EXPECT_TRUE(contains(written.out, "Unknown data type of field F in table Table1"))
        << written.out << written.err;
    std::string script = bytesOf(folder / "newer.sql");
    EXPECT_TRUE(contains(script, "\t[G] DATETIME2,\r\n")) << script;
    EXPECT_TRUE(contains(script, "\t[F] UNKNOWN DEFAULT 0,\r\n")) << script;

    KelvorOutcome run = runKelrun({folder / "newer.sql", folder / "replica.db", "/c", "/e"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(
        contains(run.out, "The data type of field 'F' is unknown; the field cannot be created."))
        << run.out << run.err;
}

// A damaged Access file, first or second, ends the run with the engine's message and no
// script; libmdb's crashes and endless loops on such files stay in the reading child.
TEST(AccessFilesEndToEnd, DamagedCopiesEndTheRunWithAClearMessage) {
    Folder folder;
    const std::string nwind = bytesOf(shared("nwind.mdb"));
    const std::string jet4 = bytesOf(shared("testV2003.mdb"));
    constexpr std::size_t jetVersion = 0x14;
    std::vector<std::pair<std::string, std::string>> copies = {
        {"truncated.mdb", jet4.substr(0, 3 * 4096)},
        {"header-only.accdb", bytesOf(shared("testV2010.accdb")).substr(0, 4096)},
        {"jet4-as-jet3.mdb", jet4},
        {"jet3-as-jet4.mdb", nwind},
        {"catalog-page-lost.mdb", jet4},
    };
    copies[2].second[jetVersion] = 0;
    copies[3].second[jetVersion] = 1;
    std::mt19937 random(20261209);
    for (std::size_t i = 2 * 4096; i < 3 * 4096; ++i)
        copies[4].second[i] = char(random());

    for (const auto& [name, bytes] : copies) {
        SCOPED_TRACE(name);
        std::string path = folder / name;
        writeBytes(path, bytes);
        std::string message = "Error: Unrecognized database format '" + path + "'.";
        for (bool first : {true, false}) {
            std::string script = folder / (name + ".sql");
            KelvorOutcome outcome =
                first ? runKelvor({path, shared("nwind.mdb").string(), script, "/e"})
                      : runKelvor({shared("nwind.mdb").string(), path, script, "/e"});
            EXPECT_EQ(outcome.exitCode, 0);
            EXPECT_TRUE(contains(outcome.out, "Can't open database '" + path + "'")) << outcome.out;
            EXPECT_TRUE(contains(outcome.out, message)) << outcome.out;
            EXPECT_FALSE(fs::exists(script));
        }
        EXPECT_EQ(bytesOf(path), bytes) << "the damaged copy changed";
    }
}

// libmdb loops on this copy; the reading child is stopped at its time limit, once for all
// the opens of the run.
TEST(AccessFilesEndToEnd, ACopyLibmdbLoopsOnEndsTheRunAtTheTimeLimit) {
    Folder folder;
    std::string riddled = bytesOf(shared("nwind.mdb"));
    constexpr std::size_t page = 2048;
    std::mt19937 random(20240611);
    for (std::size_t p = 1; p < riddled.size() / page; p += 7)
        for (std::size_t i = p * page + 8; i < (p + 1) * page; i += 3)
            riddled[i] = char(random());
    std::string path = folder / "riddled.mdb";
    writeBytes(path, riddled);
    auto start = std::chrono::steady_clock::now();
    KelvorOutcome outcome =
        runKelvor({path, shared("testV2003.mdb").string(), folder / "r.sql", "/e"});
    // Generous: a hang would never end; the limit is 30 s for the one read.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(90));
    EXPECT_TRUE(contains(outcome.out, "Error: Unrecognized database format '" + path + "'."))
        << outcome.out;
    EXPECT_FALSE(fs::exists(folder / "r.sql"));
}

namespace {

std::u16string withoutWhiteSpace(std::u16string_view text) {
    std::u16string result;
    for (char16_t c : text)
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            result += c;
    return result;
}

// Why a difference between a replica (first) and its Access file (second) remains, or
// nullopt when nothing explains it.
std::optional<std::string> explanation(const ElementDifference& difference) {
    if (difference.state != ElementState::Changed)
        return std::nullopt;
    const Element& replica = *difference.first;
    const Element& original = *difference.second;
    auto isQuery = [](const Element& e) {
        return e.kind() == ElementKind::View || e.kind() == ElementKind::Procedure;
    };
    // Only the table's children tell what changed in it.
    if (replica.kind() == ElementKind::Table && original.kind() == ElementKind::Table)
        return "table";
    if (isQuery(replica) && isQuery(original)) {
        const auto& a = static_cast<const View&>(replica);
        const auto& b = static_cast<const View&>(original);
        if (a.text() != b.text() && withoutWhiteSpace(a.text()) == withoutWhiteSpace(b.text()))
            return "query text spanning lines";
    }
    return std::nullopt;
}

std::unique_ptr<Database> readSchema(const std::string& path) {
    database::DatabaseDescription description;
    description.path = text::fromUtf8(path);
    settings::comparer::Options options;
    settings::FakeProgress progress;
    reader::SchemaReader reader(description, options);
    auto schema = reader.read(progress);
    EXPECT_TRUE(schema) << path << ": " << text::toUtf8(reader.errorText());
    return schema;
}

class Replica : public ::testing::TestWithParam<std::string> {};

} // namespace

// For every shared file F: kelvor writes the script that turns an empty embedded database
// into F, kelrun runs it against a new database, and kelvor then compares the replica with F.
// What still differs is what the script cannot carry, and nothing else: since the runner
// keeps the line breaks of a query's text, nothing for the shared files.
TEST_P(Replica, ComparesIdenticalButForWhatTheScriptCannotCarry) {
    const std::string file = shared(GetParam()).string();
    Folder folder;
    std::string empty = folder / "empty.db";
    createDatabase(empty, {});
    std::string create = folder / "create.sql";
    KelvorOutcome written = runKelvor({empty, file, create, "/e"});
    std::string replica = folder / "replica.db";
    if (written.out == identical) {
        fs::copy_file(empty, replica);
    } else {
        ASSERT_TRUE(fs::exists(create)) << written.out << written.err;
        KelvorOutcome run = runKelrun({create, replica, "/c", "/e"});
        ASSERT_EQ(run.exitCode, 1) << run.out << run.err;
    }

    KelvorOutcome compared = runKelvor({replica, file, folder / "rest.sql", "/e"});
    auto replicaSchema = readSchema(replica);
    auto fileSchema = readSchema(file);
    ASSERT_TRUE(replicaSchema && fileSchema);
    AccessDataTypeName names;
    SchemaComparison comparison(std::move(replicaSchema), std::move(fileSchema),
                                ComparisonOptions{}, names);
    EXPECT_EQ(compared.out == identical, comparison.identical()) << compared.out;
    std::map<std::string, int> residuals;
    for (const ElementDifference& difference : comparison.results()) {
        const Element& named = difference.second->kind() == ElementKind::Empty ? *difference.first
                                                                               : *difference.second;
        std::optional<std::string> why = explanation(difference);
        EXPECT_TRUE(why) << "unexplained: " << text::toUtf8(named.name()) << " state "
                         << int(difference.state);
        if (why)
            ++residuals[*why];
    }
    const std::map<std::string, std::map<std::string, int>> expected = {};
    using Counts = std::map<std::string, int>;
    auto found = expected.find(GetParam());
    Counts wanted = found == expected.end() ? Counts{} : found->second;
    EXPECT_EQ(residuals, wanted);
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, Replica, ::testing::ValuesIn(sharedFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

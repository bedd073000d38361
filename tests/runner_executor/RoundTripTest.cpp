// The round trip of the two programs: for a pair of schemas A and B, kelvor writes the script
// that turns A into B, kelrun runs it against A, and kelvor then finds A and B identical,
// while the rows of A that the change does not touch are still there. The pairs are in
// tests/data/roundtrip, one folder each.

#include "Capabilities.h"
#include "ExecutorFixture.h"
#include "foundation/access/AccessApplication.h"
#include "foundation/database/Exceptions.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/settings/ComparerOptions.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace executortest;

namespace {

const std::filesystem::path casesFolder = KEL_SOURCE_DIR "/tests/data/roundtrip";

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string quoted(const std::string& word) {
    std::string result = "'";
    for (char c : word)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

struct Outcome {
    int exitCode = -1;
    std::string out;
};

// Runs a program of the build with the words; standard output is kept, standard error (the
// message boxes) goes with it so that a failure shows everything.
Outcome runProgram(const std::filesystem::path& folder, const std::string& program,
                   const std::vector<std::string>& words) {
    std::string command = "cd " + quoted(folder.string()) + " && " + quoted(program);
    for (const std::string& word : words)
        command += " " + quoted(word);
    std::filesystem::path out = folder / "program.out";
    command += " >" + quoted(out.string()) + " 2>&1 </dev/null";
    int status = std::system(command.c_str());
    Outcome outcome;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    outcome.out = bytesOf(out);
    return outcome;
}

Outcome kelrun(const std::filesystem::path& folder, const std::vector<std::string>& words) {
    return runProgram(folder, KEL_BIN_DIR "/kelrun", words);
}

Outcome kelvor(const std::filesystem::path& folder, const std::vector<std::string>& words) {
    return runProgram(folder, KEL_BIN_DIR "/kelvor", words);
}

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(casesFolder, error)) {
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// "query => row;row" lines.
std::vector<std::pair<std::string, std::vector<std::string>>>
keptRows(const std::filesystem::path& file) {
    std::vector<std::pair<std::string, std::vector<std::string>>> checks;
    std::istringstream lines(bytesOf(file));
    for (std::string line; std::getline(lines, line);) {
        std::size_t arrow = line.find(" => ");
        if (arrow == std::string::npos)
            continue;
        std::vector<std::string> rows;
        std::istringstream cells(line.substr(arrow + 4));
        for (std::string row; std::getline(cells, row, ';');)
            rows.push_back(row);
        checks.emplace_back(line.substr(0, arrow), rows);
    }
    return checks;
}

std::vector<std::string> rowsOf(const std::filesystem::path& database, const std::string& query) {
    database::DatabaseDescription description;
    description.path = u16(database);
    database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
    return queryRows(*connection.adoConnection(), text::fromUtf8(query));
}

// kelvor writes the script that turns a into b and kelrun runs it against a, every command
// succeeding; returns the script.
std::string synchronise(const std::filesystem::path& work, const std::string& a,
                        const std::string& b) {
    Outcome compared = kelvor(work, {a, b, "sync.sql", "/e"});
    EXPECT_TRUE(std::filesystem::exists(work / "sync.sql")) << compared.out;
    std::string script = bytesOf(work / "sync.sql");
    Outcome applied = kelrun(work, {"sync.sql", a, "/e", "/ie"});
    EXPECT_EQ(applied.exitCode, 1) << applied.out << "\nscript:\n" << script;
    return script;
}

// Settings of the test's own, in its folder, for the test and the programs it starts; the
// settings the test found are back when the guard goes.
std::shared_ptr<void> ownSettings(const std::filesystem::path& folder) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::shared_ptr<void> restore(nullptr, [saved = std::string(configHome ? configHome : ""),
                                            had = configHome != nullptr](void*) {
        had ? setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    });
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    return restore;
}

// The comparer's switches a pair names in switches.txt: hidden, forms, reports, macros,
// modules, datamacros.
void switchOn(const std::filesystem::path& file) {
    settings::comparer::OptionsManager options;
    std::istringstream words(bytesOf(file));
    for (std::string word; words >> word;) {
        bool stored = word == "hidden"       ? options.setCompareHiddenTables(true)
                      : word == "forms"      ? options.setCompareForms(true)
                      : word == "reports"    ? options.setCompareReports(true)
                      : word == "macros"     ? options.setCompareMacros(true)
                      : word == "modules"    ? options.setCompareModules(true)
                      : word == "datamacros" ? options.setCompareTableDataMacros(true)
                                             : false;
        EXPECT_TRUE(stored) << word;
    }
}

// Starting Access on an embedded database.
bool accessAvailable() {
    TempFolder folder;
    database::DatabaseDescription description;
    description.path = u16(folder / "probe.mdb");
    if (!SQLExecutor::MdbCreator(description).create())
        return false;
    automation::AccessApplication access(engine::components());
    try {
        access.start(description);
    } catch (const database::Exception&) {
        return false;
    }
    access.close();
    return true;
}

class RoundTrip : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(RoundTrip, ScriptMakesTheFirstDatabaseLikeTheSecond) {
    if (!comparerAvailable())
        GTEST_SKIP() << "waits for kelvor's script mode";
    // Without data statements the schemas still make the round trip, without rows.
    bool withRows = dataStatementsAvailable();
    std::filesystem::path source = casesFolder / GetParam();
    TempFolder folder;
    const std::filesystem::path& work = folder.path();
    std::shared_ptr<void> settings = ownSettings(work);
    if (std::filesystem::exists(source / "switches.txt")) {
        // kelvor lists the Access objects with a SELECT on MSysObjects.
        if (!accessAvailable() || !dataStatementsAvailable())
            GTEST_SKIP() << "waits for the Access application on embedded databases and the "
                            "engine's data statements";
        switchOn(source / "switches.txt");
    }
    std::string a = (work / "a.mdb").string();
    std::string b = (work / "b.mdb").string();

    Outcome made = kelrun(work, {(source / "a.sql").string(), a, "/c", "/e"});
    ASSERT_EQ(made.exitCode, 1) << made.out;
    made = kelrun(work, {(source / "b.sql").string(), b, "/c", "/e"});
    ASSERT_EQ(made.exitCode, 1) << made.out;
    if (withRows && std::filesystem::exists(source / "rows.sql")) {
        made = kelrun(work, {(source / "rows.sql").string(), a, "/e"});
        ASSERT_EQ(made.exitCode, 1) << made.out;
    }

    std::string script = synchronise(work, a, b);
    Outcome again = kelvor(work, {a, b, "again.sql", "/e"});
    if (std::filesystem::exists(source / "residual.sql")) {
        // A difference no script of the dialect can mend, written down with the pair.
        EXPECT_EQ(bytesOf(work / "again.sql"), bytesOf(source / "residual.sql")) << "script:\n"
                                                                                 << script;
    } else {
        EXPECT_EQ(again.out, "database schemas are identical")
            << "script:\n"
            << script << "\nwhat still differs:\n"
            << bytesOf(work / "again.sql");
    }

    if (!withRows)
        return;
    for (const auto& [query, rows] : keptRows(source / "keep.txt"))
        EXPECT_EQ(rowsOf(work / "a.mdb", query), rows) << query;
}

INSTANTIATE_TEST_SUITE_P(Pairs, RoundTrip, ::testing::ValuesIn(caseNames()),
                         [](const auto& info) { return info.param; });

// A table hidden in Access is read only when hidden tables are compared. Its hidden flag is
// neither compared nor written, so the synchronised copy is a visible table.
TEST(RoundTripOfHiddenTables, HiddenTableComesOnlyWithTheSwitchAndComesVisible) {
    if (!comparerAvailable())
        GTEST_SKIP() << "waits for kelvor's script mode";
    TempFolder folder;
    const std::filesystem::path& work = folder.path();
    std::string a = (work / "a.mdb").string();
    std::string b = (work / "b.mdb").string();
    std::ofstream(work / "a.sql") << "CREATE TABLE [Shown] ([Id] LONG);\n";
    std::ofstream(work / "b.sql") << "CREATE TABLE [Shown] ([Id] LONG);\n"
                                     "CREATE TABLE [Secret] ([Id] LONG, [Note] TEXT(10));\n";
    ASSERT_EQ(kelrun(work, {"a.sql", a, "/c", "/e"}).exitCode, 1);
    ASSERT_EQ(kelrun(work, {"b.sql", b, "/c", "/e"}).exitCode, 1);
    auto tableOf = [](const std::string& path, std::u16string_view name) {
        database::DatabaseDescription description;
        description.path = text::fromUtf8(path);
        auto connection = std::make_shared<database::DatabaseConnection>(
            description, database::ProviderChoice::ByExtension);
        return std::pair(connection, connection->adoxCatalog()->tables()->item(name));
    };
    tableOf(b, u"Secret")
        .second->properties()
        ->item(u"Jet OLEDB:Table Hidden In Access")
        ->setValue(engine::Variant(true));

    EXPECT_EQ(kelvor(work, {a, b, "none.sql", "/e"}).out, "database schemas are identical");

    // The switch goes into settings of the test's own, which kelvor inherits.
    std::shared_ptr<void> settings = ownSettings(work);
    ASSERT_TRUE(settings::comparer::OptionsManager().setCompareHiddenTables(true));
    std::string script = synchronise(work, a, b);
    EXPECT_NE(script.find("CREATE TABLE [Secret]"), std::string::npos) << script;
    EXPECT_EQ(kelvor(work, {a, b, "again.sql", "/e"}).out, "database schemas are identical");
    auto [connection, secret] = tableOf(a, u"Secret");
    EXPECT_EQ(secret->properties()->value(u"Jet OLEDB:Table Hidden In Access"),
              engine::Variant(false));
}

// Every Access file of the shared data as the second database, an empty embedded database
// as the first: the script rebuilds the file's whole schema, queries with their line breaks
// included.
class RoundTripFromAccessFile : public ::testing::TestWithParam<std::string> {};

TEST_P(RoundTripFromAccessFile, ScriptRebuildsTheFilesSchema) {
    if (!comparerAvailable())
        GTEST_SKIP() << "waits for kelvor's script mode";
    TempFolder folder;
    const std::filesystem::path& work = folder.path();
    std::string a = (work / "a.mdb").string();
    std::string b = KEL_ACCESS_DATA_DIR "/" + GetParam();
    std::ofstream(work / "empty.sql") << "\n";
    ASSERT_EQ(kelrun(work, {"empty.sql", a, "/c", "/e"}).exitCode, 1);

    Outcome first = kelvor(work, {a, b, "sync.sql", "/e"});
    if (!std::filesystem::exists(work / "sync.sql")) {
        // A file without tables or queries.
        EXPECT_EQ(first.out, "database schemas are identical");
        return;
    }
    std::string script = bytesOf(work / "sync.sql");
    Outcome applied = kelrun(work, {"sync.sql", a, "/e", "/ie"});
    Outcome again = kelvor(work, {a, b, "again.sql", "/e"});
    EXPECT_EQ(applied.exitCode, 1) << applied.out << "\nscript:\n" << script;
    EXPECT_EQ(again.out, "database schemas are identical") << "script:\n"
                                                           << script << "\nwhat still differs:\n"
                                                           << bytesOf(work / "again.sql");
}

namespace {

std::vector<std::string> accessFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(KEL_ACCESS_DATA_DIR, error)) {
        std::string extension = entry.path().extension().string();
        if (extension == ".mdb" || extension == ".accdb")
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    AccessFiles, RoundTripFromAccessFile, ::testing::ValuesIn(accessFiles()), [](const auto& info) {
        std::string name = info.param;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

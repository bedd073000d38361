// Script mode through the kelvor program when a database cannot be read: whichever of the two
// it is, the run ends with the path and the reason on the console, exit code 0, and no file
// is touched: not the databases, and not a script that was there before.

#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/ExclusiveLock.h"
#include "tests/comparer/KelvorProcess.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

const std::string kPermissions =
    "\r\nThe application must have permissions to read/write the database file.";

// What the console shows for a database the engine refuses at open.
std::string openFailure(const fs::path& path, const std::string& reason) {
    return path.string() + "\nCan't open database '" + path.string() + "'\n\r\nError: " + reason +
           kPermissions;
}

// The bytes of a file; a folder or nothing has none.
std::string contentOf(const fs::path& path) {
    return fs::is_regular_file(path) ? bytesOf(path) : std::string();
}

std::string unrecognized(const fs::path& path) {
    return "Unrecognized database format '" + path.string() + "'.";
}

struct BadInput {
    const char* what;
    // Makes the bad file at the path and returns the reason the console must show.
    std::function<std::string(const fs::path& path, const DatabasePair& good)> make;
};

class ScriptModeBadInput : public ::testing::TestWithParam<BadInput> {
protected:
    PrivateSettings isolated;
    ScratchFolder dir;
    DatabasePair databases{dir.path()};
    fs::path bad = dir / "bad.accdb";
    fs::path script = dir / "sync.sql";
};

} // namespace

TEST_P(ScriptModeBadInput, EitherDatabaseEndsTheRunWithItsMessageAndTouchesNothing) {
    std::string reason = GetParam().make(bad, databases);
    for (bool badIsFirst : {true, false}) {
        SCOPED_TRACE(badIsFirst ? "as the first database" : "as the second database");
        std::ofstream(script, std::ios::binary) << "the user's own script";
        const std::string badBytes = contentOf(bad);
        const std::string goodBytes = bytesOf(databases.first);
        fs::path first = badIsFirst ? bad : databases.first;
        fs::path second = badIsFirst ? databases.first : bad;

        KelvorOutcome outcome = runKelvor({first.string(), second.string(), script.string(), "/e"});

        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, reason);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(bytesOf(script), "the user's own script");
        EXPECT_EQ(contentOf(bad), badBytes);
        EXPECT_EQ(fs::exists(bad), GetParam().what != std::string("missing"));
        EXPECT_EQ(bytesOf(databases.first), goodBytes);
    }
    // Nothing was left beside the files: no journal, no temporary copy.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected{"bad.accdb", "copy.db", "first.db", "second.db", "sync.sql"};
    if (!fs::exists(bad))
        expected.erase(expected.begin());
    EXPECT_EQ(names, expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, ScriptModeBadInput,
    ::testing::Values(BadInput{"missing",
                               [](const fs::path& path, const DatabasePair&) {
                                   return openFailure(path, "Could not find file '" +
                                                                path.string() + "'.");
                               }},
                      BadInput{"not a database",
                               [](const fs::path& path, const DatabasePair&) {
                                   std::ofstream(path) << "Name;Price\nTea;3\nCoffee;4\n";
                                   return openFailure(path, unrecognized(path));
                               }},
                      BadInput{"empty",
                               [](const fs::path& path, const DatabasePair&) {
                                   std::ofstream(path).flush();
                                   return openFailure(path, unrecognized(path));
                               }},
                      BadInput{"damaged",
                               [](const fs::path& path, const DatabasePair& good) {
                                   // The header that names the engine survives; the pages after it
                                   // do not.
                                   std::string bytes = bytesOf(good.second);
                                   std::fill(bytes.begin() + 100, bytes.end(), '\x5A');
                                   std::ofstream(path, std::ios::binary) << bytes;
                                   return openFailure(path, unrecognized(path));
                               }},
                      BadInput{"truncated",
                               [](const fs::path& path, const DatabasePair& good) {
                                   std::string bytes = bytesOf(good.second);
                                   bytes.resize(bytes.size() / 3);
                                   std::ofstream(path, std::ios::binary) << bytes;
                                   return openFailure(path, unrecognized(path));
                               }},
                      BadInput{"a folder",
                               [](const fs::path& path, const DatabasePair&) {
                                   fs::create_directory(path);
                                   return openFailure(path, unrecognized(path));
                               }}),
    [](const ::testing::TestParamInfo<BadInput>& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// Another program holds the second database locked for the whole run.
TEST(ScriptModeLockedInput, ALockedDatabaseEndsTheRunAndStaysAsItWas) {
    PrivateSettings isolated;
    ScratchFolder dir;
    DatabasePair databases{dir.path()};
    fs::path script = dir / "sync.sql";
    const std::string before = bytesOf(databases.second);
    ExclusiveLock lock(databases.second);
    ASSERT_TRUE(lock.locked());

    KelvorOutcome outcome =
        runKelvor({databases.first.string(), databases.second.string(), script.string(), "/e"});

    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out,
              openFailure(databases.second, "Could not use '" + databases.second.string() +
                                                "'; file already in use."));
    EXPECT_FALSE(fs::exists(script));
    EXPECT_EQ(bytesOf(databases.second), before);
}

// Script mode end to end: the kelvor program on embedded databases.

#include "compare/SchemaComparison.h"
#include "comparer/ComparerPresenter.h"
#include "script/ScriptText.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/KelvorProcess.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer/RecordingView.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class ScriptModeTest : public ::testing::Test {
protected:
    // The script the program is expected to write, from a comparison in this process.
    std::u16string expectedScript() {
        RecordingView view;
        ComparerPresenter presenter(view, false);
        presenter.firstDatabase().path = wide(databases.first);
        presenter.secondDatabase().path = wide(databases.second);
        presenter.compare();
        return scriptText(*presenter.comparison());
    }

    KelvorOutcome run(std::vector<std::string> switches, bool withConsole = true) {
        std::vector<std::string> words{databases.first.string(), databases.second.string(),
                                       script.string()};
        words.insert(words.end(), switches.begin(), switches.end());
        return runKelvor(words, withConsole);
    }

    PrivateSettings isolated;
    ScratchFolder dir;
    DatabasePair databases{dir.path()};
    fs::path script = dir / "sync.sql";
};

} // namespace

TEST_F(ScriptModeTest, WritesUtf8UnlessOnlyUtf16IsAskedFor) {
    std::u16string text = expectedScript();
    ASSERT_NE(text.find(u"CREATE TABLE [Invoices]"), std::u16string::npos);
    std::string utf8 = "\xEF\xBB\xBF" + text::toUtf8(text);
    struct Case {
        std::vector<std::string> switches;
        std::string bytes;
    };
    for (const Case& c : {Case{{}, utf8}, Case{{"/utf8"}, utf8}, Case{{"/utf16"}, utf16le(text)},
                          Case{{"/utf16", "/utf8"}, utf8}, Case{{"/e", "/utf16"}, utf16le(text)}}) {
        fs::remove(script);
        KelvorOutcome outcome = run(c.switches);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(bytesOf(script), c.bytes) << c.switches.size();
    }
}

TEST_F(ScriptModeTest, AnExistingScriptIsReplacedWhole) {
    std::ofstream(script) << std::string(100000, 'x');
    EXPECT_EQ(run({"/e"}).exitCode, 0);
    EXPECT_EQ(bytesOf(script), "\xEF\xBB\xBF" + text::toUtf8(expectedScript()));
}

TEST_F(ScriptModeTest, IdenticalDatabasesAreReportedAndTheScriptIsLeftAlone) {
    databases.second = databases.copyOfFirst;
    std::ofstream(script) << "kept";

    KelvorOutcome console = run({"/e"});
    EXPECT_EQ(console.exitCode, 0);
    EXPECT_EQ(console.out, "database schemas are identical");

    KelvorOutcome box = run({"/utf16"});
    EXPECT_EQ(box.exitCode, 0);
    EXPECT_EQ(box.out, "");
    EXPECT_EQ(box.err, "finished: database schemas are identical\n");
    EXPECT_EQ(bytesOf(script), "kept");
}

TEST_F(ScriptModeTest, AScriptInAMissingFolderIsAnOutputError) {
    script = dir / "missing" / "sync.sql";
    KelvorOutcome console = run({"/e"});
    EXPECT_EQ(console.exitCode, 0);
    EXPECT_EQ(console.out, "Can't create file:\n" + script.string());
    KelvorOutcome box = run({});
    EXPECT_EQ(box.err, "Output error: Can't create file:\n" + script.string() + "\n");
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_F(ScriptModeTest, ADatabaseThatCannotBeOpenedNamesItsPathAndTouchesNothing) {
    fs::path missing = dir / "missing.db";
    databases.second = missing;
    std::string first = bytesOf(databases.first);
    KelvorOutcome console = run({"/e"});
    EXPECT_EQ(console.exitCode, 0);
    EXPECT_EQ(console.out, missing.string() + "\nCan't open database '" + missing.string() +
                               "'\n\r\nError: Could not find file '" + missing.string() +
                               "'.\r\nThe application must have permissions to read/write the "
                               "database file.");
    KelvorOutcome box = run({});
    EXPECT_EQ(box.err.rfind("can't open the file: " + missing.string() + "\n", 0), 0u) << box.err;
    EXPECT_FALSE(fs::exists(script));
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(bytesOf(databases.first), first);
}

TEST_F(ScriptModeTest, WithoutAConsoleNothingIsWrittenAndNothingFails) {
    databases.second = databases.copyOfFirst;
    KelvorOutcome identical = run({"/e"}, false);
    EXPECT_EQ(identical.exitCode, 0);
    EXPECT_EQ(identical.err, "");

    databases.second = dir / "missing.db";
    EXPECT_EQ(run({"/e"}, false).exitCode, 0);
}

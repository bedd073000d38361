// Script mode in a pipeline, through the kelvor program: the script on standard output ("-"),
// the text report ("/r") and the exit code that tells the outcome ("/x").

#include "compare/SchemaComparison.h"
#include "comparer/ComparerPresenter.h"
#include "foundation/text/WideString.h"
#include "report/ReportBuilder.h"
#include "script/ScriptText.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/KelvorProcess.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer/RecordingView.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class ScriptModePipelineTest : public ::testing::Test {
protected:
    // The script and the report of the pair, from a comparison in this process.
    struct Texts {
        std::u16string script;
        std::u16string report;
    };
    Texts expected() {
        RecordingView view;
        ComparerPresenter presenter(view, false);
        presenter.firstDatabase().path = wide(databases.first);
        presenter.secondDatabase().path = wide(databases.second);
        presenter.compare();
        return {scriptText(*presenter.comparison()), reportText(*presenter.comparison())};
    }

    KelvorOutcome run(const fs::path& scriptPath, std::vector<std::string> switches,
                      bool withConsole = true) {
        std::vector<std::string> words{databases.first.string(), databases.second.string(),
                                       scriptPath.string()};
        words.insert(words.end(), switches.begin(), switches.end());
        return runKelvor(words, withConsole);
    }

    PrivateSettings isolated;
    ScratchFolder dir;
    DatabasePair databases{dir.path()};
    fs::path script = dir / "sync.sql";
    fs::path report = dir / "report.txt";
};

} // namespace

TEST_F(ScriptModePipelineTest, TheScriptOnStandardOutputHasTheBytesOfItsFile) {
    std::u16string text = expected().script;
    KelvorOutcome utf8 = run("-", {});
    EXPECT_EQ(utf8.exitCode, 0);
    EXPECT_EQ(utf8.out, "\xEF\xBB\xBF" + text::toUtf8(text));
    EXPECT_EQ(utf8.err, "");
    EXPECT_EQ(run("-", {"/utf16"}).out, utf16le(text));
    EXPECT_FALSE(fs::exists("-"));
}

TEST_F(ScriptModePipelineTest, TheReportIsUtf8WithLineFeedsBesideTheScript) {
    Texts texts = expected();
    KelvorOutcome outcome = run(script, {"/r", report.string(), "/e"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(bytesOf(script), "\xEF\xBB\xBF" + text::toUtf8(texts.script));
    std::string bytes = bytesOf(report);
    EXPECT_EQ(bytes, text::toUtf8WithLineFeeds(texts.report) + "\n");
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_NE(bytes.find("Invoices"), std::string::npos);

    // On standard output the report is alone there: the messages of "/e" go to standard
    // error.
    databases.second = databases.copyOfFirst;
    std::ofstream(script) << "kept";
    KelvorOutcome identical = run(script, {"/e", "/r", "-"});
    EXPECT_EQ(identical.out, text::toUtf8WithLineFeeds(expected().report) + "\n");
    EXPECT_NE(identical.out.find("are identical."), std::string::npos);
    EXPECT_EQ(identical.err, "database schemas are identical");
    EXPECT_EQ(bytesOf(script), "kept");
}

TEST_F(ScriptModePipelineTest, TheExitCodeTellsTheOutcomeOnlyWhenAskedTo) {
    fs::path missingFolder = dir / "missing" / "out.txt";
    struct Case {
        const char* what;
        fs::path second;
        fs::path script;
        std::vector<std::string> switches;
        int code;
    };
    const Case cases[] = {
        {"different", databases.second, script, {}, 1},
        {"identical", databases.copyOfFirst, script, {}, 0},
        {"unreadable database", dir / "missing.db", script, {}, 2},
        {"unwritable script", databases.second, missingFolder, {}, 2},
        {"unwritable report", databases.second, script, {"/r", missingFolder.string()}, 2},
        {"unwritable report of identical databases",
         databases.copyOfFirst,
         script,
         {"/r", missingFolder.string()},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        databases.second = c.second;
        std::vector<std::string> switches = c.switches;
        switches.push_back("/e");
        EXPECT_EQ(run(c.script, switches).exitCode, 0);
        switches.push_back("/x");
        EXPECT_EQ(run(c.script, switches).exitCode, c.code);
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_F(ScriptModePipelineTest, AClosedStandardOutputIsAnOutputError) {
    KelvorOutcome script = run("-", {"/x"}, false);
    EXPECT_EQ(script.exitCode, 2);
    EXPECT_EQ(script.err, "Output error: Can't write to standard output.\n");

    databases.second = databases.copyOfFirst;
    KelvorOutcome report = run(this->script, {"/r", "-", "/x", "/e"}, false);
    EXPECT_EQ(report.exitCode, 2);
    EXPECT_EQ(report.err, "database schemas are identicalCan't write to standard output.");
}

TEST_F(ScriptModePipelineTest, AReportIsNeverWrittenOverAFolderOrADatabase) {
    fs::create_directory(dir / "occupied");
    const std::string first = bytesOf(databases.first);
    for (const fs::path& target : {dir / "occupied", databases.first}) {
        KelvorOutcome outcome = run(script, {"/r", target.string(), "/x"});
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.err.rfind("Output error: Can't create file:\n" + target.string(), 0), 0u)
            << outcome.err;
    }
    EXPECT_TRUE(fs::is_directory(dir / "occupied"));
    EXPECT_EQ(bytesOf(databases.first), first);
}

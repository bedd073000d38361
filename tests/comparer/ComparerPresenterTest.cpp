// The presenter over real embedded databases, with a view that records what it is asked.

#include "comparer/ComparerPresenter.h"
#include "compare/SchemaComparison.h"
#include "foundation/text/WideString.h"
#include "report/ReportBuilder.h"
#include "script/ScriptText.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer/RecordingView.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

namespace {

class ComparerPresenterTest : public ::testing::Test {
protected:
    // A presenter in script mode on the two paths, writing to `script`.
    std::unique_ptr<ComparerPresenter> scriptPresenter(const fs::path& a, const fs::path& b) {
        auto presenter = std::make_unique<ComparerPresenter>(view, true);
        presenter->firstDatabase().path = wide(a);
        presenter->secondDatabase().path = wide(b);
        presenter->setScriptPath(wide(script));
        return presenter;
    }

    PrivateSettings isolated;
    ScratchFolder dir;
    DatabasePair databases{dir.path()};
    fs::path first = databases.first;
    fs::path second = databases.second;
    fs::path copyOfFirst = databases.copyOfFirst;
    fs::path script = dir / "out.sql";
    RecordingView view;
};

} // namespace

TEST_F(ComparerPresenterTest, BindsEveryDelegateOfTheView) {
    ComparerPresenter presenter(view, false);
    for (const auto* slot :
         {&view.onShowOptions, &view.onCompare, &view.onOpen, &view.onSwap,
          &view.onToggleHiddenTables, &view.onToggleFieldsOrder, &view.onToggleForms,
          &view.onToggleModules, &view.onToggleMacros, &view.onToggleReports,
          &view.onToggleTableDataMacros, &view.onExternalDiffOptions, &view.onScript,
          &view.onRunScriptRunner, &view.onShowTips, &view.onStartupTips})
        EXPECT_TRUE(*slot);
    EXPECT_TRUE(view.onShowDifference);
    ASSERT_TRUE(view.isCompareAtStart);
    EXPECT_FALSE(view.isCompareAtStart());
    presenter.setDatabasesGivenAtStart(true);
    EXPECT_TRUE(view.isCompareAtStart());
}

TEST_F(ComparerPresenterTest, WithoutBothPathsNothingHappens) {
    ComparerPresenter presenter(view, true);
    presenter.firstDatabase().path = wide(first);
    view.onCompare();
    presenter.firstDatabase().path.clear();
    presenter.secondDatabase().path = wide(second);
    view.onCompare();
    EXPECT_EQ(view.calls, Calls{});
    EXPECT_EQ(presenter.comparison(), nullptr);
}

TEST_F(ComparerPresenterTest, DifferentDatabasesShowTheirResultsAndWriteTheScriptInUtf8) {
    auto presenter = scriptPresenter(first, second);
    view.onCompare();
    ASSERT_NE(presenter->comparison(), nullptr);
    std::size_t count = presenter->comparison()->results().size();
    ASSERT_GT(count, 0u);
    EXPECT_EQ(view.calls,
              (Calls{"setFirstName " + first.string(), "setSecondName " + second.string(),
                     "showResults " + std::to_string(count) + " fieldsOrder=0", "progress.reset"}));
    std::string expected = "\xEF\xBB\xBF" + text::toUtf8(scriptText(*presenter->comparison()));
    EXPECT_EQ(bytesOf(script), expected);
    EXPECT_NE(expected.find("[Invoices]"), std::string::npos);
}

TEST_F(ComparerPresenterTest, TheScriptCanBeWrittenInUtf16) {
    auto presenter = scriptPresenter(first, second);
    presenter->setScriptEncoding(text::TextEncoding::UTF16);
    presenter->compare();
    std::u16string text = scriptText(*presenter->comparison());
    std::string expected = "\xFF\xFE";
    expected.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    EXPECT_EQ(bytesOf(script), expected);
}

TEST_F(ComparerPresenterTest, IdenticalDatabasesSaySoAndLeaveAnExistingScriptAlone) {
    std::ofstream(script) << "the user's own file";
    auto presenter = scriptPresenter(first, copyOfFirst);
    presenter->compare();
    EXPECT_EQ(view.calls,
              (Calls{"setFirstName " + first.string(), "setSecondName " + copyOfFirst.string(),
                     "showResults 0 fieldsOrder=0",
                     "showInformation finished|database schemas are identical", "progress.reset"}));
    EXPECT_EQ(bytesOf(script), "the user's own file");
}

TEST_F(ComparerPresenterTest, AnUnreadableFirstDatabaseEndsTheRunBeforeTheSecondIsRead) {
    fs::path missing = dir / "missing.db";
    auto presenter = scriptPresenter(missing, second);
    presenter->compare();
    ASSERT_EQ(view.calls.size(), 4u);
    EXPECT_EQ(view.calls[2].rfind("showError can't open the file|" + missing.string() + "\n", 0),
              0u)
        << view.calls[2];
    EXPECT_EQ(view.calls[3], "progress.reset");
    EXPECT_EQ(presenter->comparison(), nullptr);
    EXPECT_FALSE(fs::exists(script));
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(ComparerPresenterTest, BadSecondDatabasesEndTheRunWithTheirPathAndTheReason) {
    fs::path notADatabase = dir / "notes.txt";
    std::ofstream(notADatabase) << "just some text, long enough to look like a file header\n";
    fs::path emptyFile = dir / "empty.mdb";
    std::ofstream(emptyFile).flush();
    fs::path damaged = dir / "damaged.db";
    {
        std::string bytes = bytesOf(second);
        bytes.resize(bytes.size() / 3);
        std::ofstream(damaged, std::ios::binary) << bytes;
    }
    fs::path inMissingFolder = dir / "no" / "such" / "folder" / "x.db";
    for (const fs::path& bad : {notADatabase, emptyFile, damaged, inMissingFolder}) {
        std::string before = bytesOf(bad);
        view.calls.clear();
        auto presenter = scriptPresenter(first, bad);
        presenter->compare();
        ASSERT_EQ(view.calls.size(), 4u) << bad;
        std::string start = "showError can't open the file|" + bad.string() + "\n";
        EXPECT_EQ(view.calls[2].rfind(start, 0), 0u) << view.calls[2];
        EXPECT_GT(view.calls[2].size(), start.size());
        EXPECT_EQ(presenter->comparison(), nullptr);
        EXPECT_FALSE(fs::exists(script));
        EXPECT_EQ(bytesOf(bad), before) << bad;
    }
    EXPECT_FALSE(fs::exists(dir / "no"));
}

TEST_F(ComparerPresenterTest, AScriptThatCannotBeWrittenIsAnOutputError) {
    auto presenter = scriptPresenter(first, second);
    fs::path inMissingFolder = dir / "missing" / "out.sql";
    presenter->setScriptPath(wide(inMissingFolder));
    presenter->compare();
    EXPECT_EQ(view.calls[view.calls.size() - 2],
              "showError Output error|Can't create file:\n" + inMissingFolder.string());
    EXPECT_NE(presenter->comparison(), nullptr);

    // Writing the script over a compared database would destroy it.
    std::string database = bytesOf(second);
    view.calls.clear();
    presenter->setScriptPath(wide(dir.path() / "." / "second.db"));
    presenter->compare();
    EXPECT_EQ(view.calls[view.calls.size() - 2], "showError Output error|Can't create file:\n" +
                                                     (dir.path() / "." / "second.db").string() +
                                                     "\nIt is one of the compared databases.");
    EXPECT_EQ(bytesOf(second), database);
}

TEST_F(ComparerPresenterTest, WindowModeWritesNoScript) {
    ComparerPresenter presenter(view, false);
    presenter.firstDatabase().path = wide(first);
    presenter.secondDatabase().path = wide(second);
    presenter.setScriptPath(wide(script));
    presenter.compare();
    EXPECT_NE(presenter.comparison(), nullptr);
    EXPECT_FALSE(fs::exists(script));
}

TEST_F(ComparerPresenterTest, TitlesAndLongPathsAreShortenedForDisplay) {
    ComparerPresenter presenter(view, false);
    fs::path deep = dir / "a-folder-with-a-rather-long-name" / "and-another-one" / "db.accdb";
    fs::create_directories(deep.parent_path());
    fs::copy_file(first, deep);
    presenter.firstDatabase().path = wide(deep);
    presenter.secondDatabase().path = wide(second);
    presenter.secondDatabase().title = u"The second database, as the command line named it";
    presenter.compare();
    std::string shortened = deep.string().substr(0, 40 - 9) + ".../db.accdb";
    EXPECT_EQ(view.calls[0], "setFirstName " + shortened);
    EXPECT_EQ(view.calls[1], "setSecondName The second database,...ommand line named it");
}

TEST_F(ComparerPresenterTest, SwapExchangesTheDescriptionsWholeAndCompares) {
    ComparerPresenter presenter(view, false);
    presenter.firstDatabase() = {u"one", wide(first), u"sys1", u"pw1", u"user1", u"upw1"};
    presenter.secondDatabase() = {u"two", wide(copyOfFirst), u"", u"", u"", u""};
    database::DatabaseDescription a = presenter.firstDatabase();
    database::DatabaseDescription b = presenter.secondDatabase();
    view.onSwap();
    EXPECT_EQ(presenter.firstDatabase().path, b.path);
    EXPECT_EQ(presenter.secondDatabase().systemDatabase, u"sys1");
    EXPECT_EQ(presenter.secondDatabase().userPassword, u"upw1");
    EXPECT_EQ(view.calls[0], "setFirstName two");
    view.calls.clear();
    // The first now carries credentials that the second database does not need; swapping
    // back restores every field.
    view.onSwap();
    EXPECT_EQ(presenter.firstDatabase().title, a.title);
    EXPECT_EQ(presenter.firstDatabase().userName, u"user1");
    EXPECT_EQ(presenter.secondDatabase().path, b.path);
    EXPECT_EQ(view.calls[0], "setFirstName one");
}

TEST_F(ComparerPresenterTest, ShowScriptHandsOverTheReportAndTheScriptOfTheLatestComparison) {
    ComparerPresenter presenter(view, false);
    view.onScript();
    EXPECT_EQ(view.calls, Calls{});
    presenter.firstDatabase().path = wide(first);
    presenter.secondDatabase().path = wide(second);
    presenter.compare();
    view.calls.clear();
    view.onScript();
    ASSERT_EQ(view.calls.size(), 1u);
    EXPECT_EQ(view.calls[0], "showScript " + text::toUtf8(reportText(*presenter.comparison())) +
                                 "|" + text::toUtf8(scriptText(*presenter.comparison())));
}

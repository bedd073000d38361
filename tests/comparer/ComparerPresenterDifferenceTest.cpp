// Showing the difference of one result row: in the diff window or in the external tool.

#include "compare/SchemaComparison.h"
#include "comparer/ComparerPresenter.h"
#include "report/TextDiffAdapter.h"
#include "report/diff/Diff.h"
#include "schema/EmptyElement.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer/RecordingView.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;
using settings::comparer::OptionsManager;

namespace {

struct Shown {
    std::u16string title;
    diff::Segments segments;
};

class ComparerPresenterDifferenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OptionsManager().setExternalDiff(false, u"meld %p1 %p2"));
        presenter = std::make_unique<ComparerPresenter>(view, false);
        presenter->setDiffWindow([this](const std::u16string& title, const diff::Segments& s) {
            shown.push_back({title, s});
        });
        presenter->firstDatabase().path = wide(databases.first);
        presenter->secondDatabase().path = wide(databases.second);
        presenter->compare();
        ASSERT_NE(presenter->comparison(), nullptr);
        view.calls.clear();
    }

    // The row of the first result item whose first or second element has the name.
    ElementData row(std::u16string_view name) {
        for (const ElementDifference& item : presenter->comparison()->results())
            if (item.first->name() == name || item.second->name() == name)
                return ElementData{u"", u"", *item.first, *item.second, 0xFFE8DE, false};
        ADD_FAILURE() << "no item " << text::toUtf8(name);
        return ElementData{u"", u"", EmptyElement::instance(), EmptyElement::instance(), 0, false};
    }

    PrivateSettings isolated;
    ScratchFolder dir;
    DatabasePair databases{dir.path()};
    RecordingView view;
    std::unique_ptr<ComparerPresenter> presenter;
    std::vector<Shown> shown;
};

} // namespace

TEST_F(ComparerPresenterDifferenceTest, TheWindowShowsTheLineDiffNamedAfterTheElement) {
    ElementData changed = row(u"Name");
    view.onShowDifference(&changed);
    ElementData added = row(u"Invoices");
    view.onShowDifference(&added);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, u"Name");
    EXPECT_EQ(shown[0].segments,
              diff::computeDiff(diffText(changed.first), diffText(changed.second)));
    // The missing side has no name: the other side names the window, and all its text is new.
    EXPECT_EQ(shown[1].title, u"Invoices");
    ASSERT_EQ(shown[1].segments.size(), 1u);
    EXPECT_EQ(shown[1].segments[0].operation, diff::Operation::Insert);
    EXPECT_NE(shown[1].segments[0].text.find(u"CREATE TABLE [Invoices]"), std::u16string::npos);
    EXPECT_EQ(view.calls, Calls{});
}

TEST_F(ComparerPresenterDifferenceTest, NothingHappensWithoutARowOrWithoutText) {
    view.onShowDifference(nullptr);
    ElementData empty{u"", u"", EmptyElement::instance(), EmptyElement::instance(), 0, false};
    view.onShowDifference(&empty);
    EXPECT_TRUE(shown.empty());
}

TEST_F(ComparerPresenterDifferenceTest, RowsOfAComparisonThatIsGoneShowNothing) {
    ElementData stale = row(u"Orders");
    presenter->secondDatabase().path = wide(dir / "missing.db");
    presenter->compare();
    ASSERT_EQ(presenter->comparison(), nullptr);
    view.onShowDifference(&stale);
    EXPECT_TRUE(shown.empty());
}

TEST_F(ComparerPresenterDifferenceTest, TheExternalToolGetsBothTextsInTemporaryFiles) {
    ::setenv("TMPDIR", dir.path().c_str(), 1);
    fs::path result = dir / "result";
    std::u16string command =
        text::fromUtf8("sh -c 'cat \"$0\" \"$1\" > \"$2.part\"; mv \"$2.part\" \"$2\"' %p1 %p2 '" +
                       result.string() + "'");
    ASSERT_TRUE(OptionsManager().setExternalDiff(true, command));
    {
        // Settings are read when the presenter is made.
        ComparerPresenter withTool(view, false);
        withTool.firstDatabase().path = wide(databases.first);
        withTool.secondDatabase().path = wide(databases.second);
        withTool.compare();
        const ElementDifference* deleted = nullptr;
        for (const ElementDifference& item : withTool.comparison()->results())
            if (item.first->name() == u"Orders")
                deleted = &item;
        ASSERT_NE(deleted, nullptr);
        ElementData data{u"", u"", *deleted->first, *deleted->second, 0, true};
        view.onShowDifference(&data);
        for (int i = 0; i < 1000 && !fs::exists(result); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(bytesOf(result), utf16le(diffText(*deleted->first)) + utf16le(u""));
        EXPECT_TRUE(shown.empty());
    }
    ::unsetenv("TMPDIR");
    // The presenter's end took its temporary files with it.
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string().rfind("KLV", 0), 0u) << entry.path();
}

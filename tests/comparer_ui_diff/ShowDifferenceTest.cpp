// A double click on a row of a real comparison: the presenter's diff lands in the window.

#include "compare/SchemaComparison.h"
#include "comparer/ComparerPresenter.h"
#include "comparer/ui/diff/DiffViewDlg.h"
#include "report/TextDiffAdapter.h"
#include "report/diff/Diff.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer/RecordingView.h"
#include "tests/comparer_ui_diff/Application.h"

#include <gtest/gtest.h>

using settings::comparer::OptionsManager;

namespace {

class ShowDifferenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        ASSERT_TRUE(OptionsManager().setExternalDiff(false, u"meld %p1 %p2"));
        presenter = std::make_unique<ComparerPresenter>(view, false);
        presenter->setDiffWindow([](const std::u16string& title, const diff::Segments& s) {
            showDiffWindow(nullptr, title, s);
        });
        presenter->firstDatabase().path = wide(databases.first);
        presenter->secondDatabase().path = wide(databases.second);
        presenter->compare();
        ASSERT_NE(presenter->comparison(), nullptr);
    }

    const ElementDifference* item(std::u16string_view name) {
        for (const ElementDifference& item : presenter->comparison()->results())
            if (item.first->name() == name || item.second->name() == name)
                return &item;
        return nullptr;
    }

    PrivateSettings isolated;
    ScratchFolder dir;
    DatabasePair databases{dir.path()};
    RecordingView view;
    std::unique_ptr<ComparerPresenter> presenter;
};

// The view's spans in order, as (text, style).
std::vector<std::pair<std::u16string, int>> spans(const TextViewControl::StyledText& content) {
    std::vector<std::pair<std::u16string, int>> out;
    for (std::size_t line = 0; line < content.lineCount(); ++line)
        for (auto* span = content.lineBegin(line); span != content.lineEnd(line); ++span)
            if (span->length)
                out.emplace_back(content.spanText(*span), span->style);
    return out;
}

} // namespace

TEST_F(ShowDifferenceTest, ADoubleClickOnAChangedTableShowsItsMergedDefinition) {
    const ElementDifference* customers = item(u"Customers");
    ASSERT_NE(customers, nullptr);
    ElementData row{u"", u"", *customers->first, *customers->second, 0, true};
    const diff::Segments expected = diff::computeDiff(diffText(row.first), diffText(row.second));

    bool opened = false;
    std::vector<std::pair<std::u16string, int>> shown;
    std::u16string text;
    whenModalOpens([&](QWidget* window) {
        auto* dialog = dynamic_cast<DiffViewDlg*>(window);
        ASSERT_NE(dialog, nullptr);
        opened = true;
        EXPECT_EQ(dialog->windowTitle(), "Customers");
        shown = spans(dialog->textView().content());
        text = dialog->textView().content().text();
    });
    view.onShowDifference(&row);
    ASSERT_TRUE(opened);

    std::u16string merged;
    for (const diff::Segment& segment : expected)
        merged += segment.text;
    EXPECT_EQ(text, merged);
    // TEXT(50) became TEXT(80): the old digit struck out, the new one blue, the rest plain.
    EXPECT_NE(merged.find(u"CREATE TABLE [Customers]"), std::u16string::npos);
    auto has = [&](std::u16string span, int style) {
        return std::find(shown.begin(), shown.end(), std::pair{span, style}) != shown.end();
    };
    EXPECT_TRUE(has(u"5", 1));
    EXPECT_TRUE(has(u"8", 2));
    for (const auto& [span, style] : shown)
        EXPECT_TRUE(style == 0 || span.size() == 1) << text::toUtf8(span);
}

TEST_F(ShowDifferenceTest, AnAddedTableIsAllBlue) {
    const ElementDifference* invoices = item(u"Invoices");
    ASSERT_NE(invoices, nullptr);
    ElementData row{u"", u"", *invoices->first, *invoices->second, 0, true};
    std::vector<std::pair<std::u16string, int>> shown;
    whenModalOpens([&](QWidget* window) {
        auto* dialog = dynamic_cast<DiffViewDlg*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Invoices");
        shown = spans(dialog->textView().content());
    });
    view.onShowDifference(&row);
    ASSERT_FALSE(shown.empty());
    for (const auto& [span, style] : shown)
        EXPECT_EQ(style, 2) << text::toUtf8(span);
}

TEST_F(ShowDifferenceTest, AViewChangedInOneWordShowsTheOldWordStruckAndTheNewOneBlue) {
    ScratchFolder views;
    createDatabase(views / "a.db", {u"CREATE TABLE [T] ([Id] LONG, [Name] TEXT(50))",
                                    u"CREATE VIEW [Names] AS SELECT [Id] FROM [T]"});
    createDatabase(views / "b.db", {u"CREATE TABLE [T] ([Id] LONG, [Name] TEXT(50))",
                                    u"CREATE VIEW [Names] AS SELECT [Name] FROM [T]"});
    presenter->firstDatabase().path = wide(views / "a.db");
    presenter->secondDatabase().path = wide(views / "b.db");
    presenter->compare();
    const ElementDifference* names = item(u"Names");
    ASSERT_NE(names, nullptr);
    ElementData row{u"", u"", *names->first, *names->second, 0, false};
    std::vector<std::pair<std::u16string, int>> shown;
    whenModalOpens([&](QWidget* window) {
        auto* dialog = dynamic_cast<DiffViewDlg*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Names");
        shown = spans(dialog->textView().content());
    });
    view.onShowDifference(&row);
    std::u16string old, added;
    for (const auto& [span, style] : shown) {
        if (style == 1)
            old += span;
        else if (style == 2)
            added += span;
    }
    EXPECT_EQ(old, u"Id");
    EXPECT_EQ(added, u"Name");
}

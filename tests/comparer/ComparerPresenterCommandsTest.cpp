// The presenter's commands besides comparing and showing differences: options and tips.

#include "comparer/ComparerPresenter.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer/RecordingView.h"

#include <gtest/gtest.h>

using Calls = std::vector<std::string>;
using settings::comparer::Options;
using settings::comparer::OptionsManager;

namespace {

// Closes at once on the tip after the one it was shown with.
class NextTipView : public ITipView {
public:
    explicit NextTipView(std::vector<std::string>& calls) : calls_(calls) {}
    void show(bool showOnStartup, int currentTip) override {
        calls_.push_back("tips.show " + std::to_string(showOnStartup) + " " +
                         std::to_string(currentTip));
        onTipsClosed(showOnStartup, currentTip + 1);
    }

private:
    std::vector<std::string>& calls_;
};

} // namespace

TEST(ComparerPresenterOptions, ShowOptionsSetsTheSevenMarksInOrder) {
    PrivateSettings isolated;
    ASSERT_TRUE(OptionsManager().setCompareForms(true));
    ASSERT_TRUE(OptionsManager().setCompareReports(false));
    RecordingView view;
    ComparerPresenter presenter(view, false);
    view.onShowOptions();
    EXPECT_EQ(view.calls,
              (Calls{"checkHiddenTables 0", "checkFieldsOrder 0", "checkForms 1", "checkModules 0",
                     "checkMacros 0", "checkReports 0", "checkTableDataMacros 0"}));
}

TEST(ComparerPresenterOptions, EachToggleFlipsAndStoresItsSwitchAndUpdatesItsMark) {
    PrivateSettings isolated;
    RecordingView view;
    ComparerPresenter presenter(view, false);
    struct Toggle {
        rion::delegate<void()>* event;
        bool Options::*option;
        const char* mark;
    };
    for (const Toggle& t :
         {Toggle{&view.onToggleHiddenTables, &Options::compareHiddenTables, "checkHiddenTables"},
          Toggle{&view.onToggleFieldsOrder, &Options::compareFieldsOrder, "checkFieldsOrder"},
          Toggle{&view.onToggleForms, &Options::compareForms, "checkForms"},
          Toggle{&view.onToggleModules, &Options::compareModules, "checkModules"},
          Toggle{&view.onToggleMacros, &Options::compareMacros, "checkMacros"},
          Toggle{&view.onToggleReports, &Options::compareReports, "checkReports"},
          Toggle{&view.onToggleTableDataMacros, &Options::compareTableDataMacros,
                 "checkTableDataMacros"}}) {
        bool before = OptionsManager().options().*t.option;
        view.calls.clear();
        (*t.event)();
        EXPECT_EQ(view.calls, Calls{std::string(t.mark) + " " + (before ? "0" : "1")});
        EXPECT_EQ(OptionsManager().options().*t.option, !before) << t.mark;
        (*t.event)();
        EXPECT_EQ(OptionsManager().options().*t.option, before) << t.mark;
    }
}

TEST(ComparerPresenterOptions, ExternalDiffSettingsAreStoredOnlyWhenConfirmed) {
    PrivateSettings isolated;
    RecordingView view;
    ComparerPresenter presenter(view, false);
    view.optionsEditor = [](Options& options) {
        options.useExternalDiff = true;
        options.externalDiffCommand = u"kdiff3 %p1 %p2";
        options.compareForms = !options.compareForms; // not the dialog's to change
        return false;
    };
    view.onExternalDiffOptions();
    EXPECT_FALSE(OptionsManager().options().useExternalDiff);

    bool forms = OptionsManager().options().compareForms;
    view.optionsEditor = [](Options& options) {
        options.useExternalDiff = true;
        options.externalDiffCommand = u"kdiff3 %p1 %p2";
        options.compareForms = !options.compareForms;
        return true;
    };
    view.onExternalDiffOptions();
    Options stored = OptionsManager().options();
    EXPECT_TRUE(stored.useExternalDiff);
    EXPECT_EQ(stored.externalDiffCommand, u"kdiff3 %p1 %p2");
    EXPECT_EQ(stored.compareForms, forms);
}

TEST(ComparerPresenterOptions, EditDatabasesLetsTheViewChangeBothDescriptions) {
    PrivateSettings isolated;
    RecordingView view;
    ComparerPresenter presenter(view, false);
    presenter.firstDatabase().title = u"from the command line";
    view.databaseEditor = [](database::DatabaseDescription& first,
                             database::DatabaseDescription& second) {
        first.setConnectionFields(u"/a.db", u"", u"secret", u"", u"");
        second.setConnectionFields(u"/b.db", u"/system.mdw", u"", u"admin", u"pw");
    };
    view.onOpen();
    EXPECT_EQ(view.calls, Calls{"editDatabases"});
    EXPECT_EQ(presenter.firstDatabase().path, u"/a.db");
    EXPECT_EQ(presenter.firstDatabase().title, u"");
    EXPECT_EQ(presenter.secondDatabase().userName, u"admin");
}

TEST(ComparerPresenterTips, ShowTipsRunsTheTipsAndStoresWhereTheUserStopped) {
    PrivateSettings isolated;
    ASSERT_TRUE(OptionsManager().setTips(true, 2));
    RecordingView view;
    ComparerPresenter presenter(view, false);
    view.tipViewMaker = [&] { return std::make_unique<NextTipView>(view.calls); };
    view.onShowTips();
    EXPECT_EQ(view.calls, (Calls{"createTipView", "tips.show 1 2"}));
    EXPECT_EQ(OptionsManager().options().currentTip, 3);

    // At start-up only while the user wants them.
    view.calls.clear();
    view.onStartupTips();
    EXPECT_EQ(view.calls, (Calls{"createTipView", "tips.show 1 3"}));
    ASSERT_TRUE(OptionsManager().setTips(false, 3));
    view.calls.clear();
    ComparerPresenter later(view, false);
    view.onStartupTips();
    EXPECT_EQ(view.calls, Calls{});
}

TEST(ComparerPresenterTips, ACommandLineViewHasNoTipsToShow) {
    PrivateSettings isolated;
    ASSERT_TRUE(OptionsManager().setTips(true, 0));
    RecordingView view;
    ComparerPresenter presenter(view, false);
    view.onShowTips();
    EXPECT_EQ(view.calls, Calls{"createTipView"});
}

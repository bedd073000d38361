#include "comparer/TipsPresenter.h"
#include "tests/comparer/PrivateSettings.h"

#include <gtest/gtest.h>

namespace {

// A tips window that the user closes at once, at another tip.
class ClosingTipView : public ITipView {
public:
    void show(bool showOnStartup, int currentTip) override {
        shownWith = {showOnStartup, currentTip};
        if (onTipsClosed)
            onTipsClosed(!showOnStartup, currentTip + 2);
    }
    std::pair<bool, int> shownWith{};
};

} // namespace

TEST(TipsPresenter, StartsWhereTheUserLeftOffAndStoresWhereTheyStop) {
    PrivateSettings isolated;
    settings::comparer::OptionsManager settings;
    ASSERT_TRUE(settings.setTips(true, 3));
    ClosingTipView view;
    {
        TipsPresenter presenter(view, settings);
        presenter.run();
    }
    EXPECT_EQ(view.shownWith, (std::pair<bool, int>{true, 3}));
    EXPECT_FALSE(view.onTipsClosed);

    settings::comparer::OptionsManager reloaded;
    EXPECT_FALSE(reloaded.options().showTipsOnStartup);
    EXPECT_EQ(reloaded.options().currentTip, 5);
}

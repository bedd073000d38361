#pragma once

// Shows the tips from where the user left them last time and keeps where they leave them now.

#include "comparer/ITipView.h"
#include "foundation/settings/ComparerOptions.h"

class TipsPresenter {
public:
    // Binds the view's onTipsClosed to this presenter until the presenter is destroyed.
    // Neither argument is owned.
    TipsPresenter(ITipView& view, settings::comparer::OptionsManager& settings);
    ~TipsPresenter();
    TipsPresenter(const TipsPresenter&) = delete;
    TipsPresenter& operator=(const TipsPresenter&) = delete;

    void run();

private:
    void tipsClosed(bool showOnStartup, int currentTip);

    ITipView& view_;
    settings::comparer::OptionsManager& settings_;
};

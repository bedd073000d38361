#include "comparer/TipsPresenter.h"

TipsPresenter::TipsPresenter(ITipView& view, settings::comparer::OptionsManager& settings)
    : view_(view), settings_(settings) {
    view_.onTipsClosed.bind(*this, &TipsPresenter::tipsClosed);
}

TipsPresenter::~TipsPresenter() {
    view_.onTipsClosed.reset();
}

void TipsPresenter::run() {
    const auto& options = settings_.options();
    view_.show(options.showTipsOnStartup, options.currentTip);
}

void TipsPresenter::tipsClosed(bool showOnStartup, int currentTip) {
    settings_.setTips(showOnStartup, currentTip);
}

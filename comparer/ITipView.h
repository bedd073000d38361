#pragma once

// The window that shows the tips, one at a time.

#include "comparer/Delegate.h"

class ITipView {
public:
    virtual ~ITipView() = default;

    // Shows the tips, starting at the current one, until the user closes them.
    virtual void show(bool showOnStartup, int currentTip) = 0;

    // Raised when the window closes, with the state the user left it in.
    rion::delegate<void(bool showOnStartup, int currentTip)> onTipsClosed;
};

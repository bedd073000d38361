#pragma once

// The script-mode view without "/e": every message in a message box of its own.

#include "comparer/CommandLineResultView.h"

class ResultViewMessageBox final : public CommandLineResultView {
public:
    void showInformation(const std::u16string& text, const std::u16string& caption) override;
    void showError(const std::u16string& text, const std::u16string& caption) override;
    void showWarning(const std::u16string& text, const std::u16string& caption) override;
};

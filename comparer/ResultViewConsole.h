#pragma once

// The script-mode view with "/e": messages go to the console of the process that started the
// program, without their captions and exactly as they are (no line end is added). A program
// started without a console writes nothing. Where standard output carries the script or the
// report ("-"), the messages go to standard error instead.

#include "comparer/CommandLineResultView.h"
#include "foundation/platform/Console.h"

class ResultViewConsole final : public CommandLineResultView {
public:
    // Decides once whether there is a console to write to.
    explicit ResultViewConsole(platform::ConsoleStream stream = platform::ConsoleStream::Output);

    void showInformation(const std::u16string& text, const std::u16string& caption) override;
    void showError(const std::u16string& text, const std::u16string& caption) override;
    void showWarning(const std::u16string& text, const std::u16string& caption) override;

private:
    void write(const std::u16string& text) const;

    platform::ConsoleStream stream_;
    bool attached_;
};

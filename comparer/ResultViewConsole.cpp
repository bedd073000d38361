#include "comparer/ResultViewConsole.h"

#include "foundation/platform/Console.h"

ResultViewConsole::ResultViewConsole() : attached_(platform::consoleAvailable()) {}

void ResultViewConsole::showInformation(const std::u16string& text, const std::u16string&) {
    write(text);
}

void ResultViewConsole::showError(const std::u16string& text, const std::u16string&) {
    write(text);
}

void ResultViewConsole::showWarning(const std::u16string& text, const std::u16string&) {
    write(text);
}

void ResultViewConsole::write(const std::u16string& text) const {
    if (attached_)
        platform::writeConsole(text);
}

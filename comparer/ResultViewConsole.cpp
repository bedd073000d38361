#include "comparer/ResultViewConsole.h"

ResultViewConsole::ResultViewConsole(platform::ConsoleStream stream)
    : stream_(stream), attached_(platform::consoleAvailable(stream)) {}

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
        platform::writeConsole(text, stream_);
}

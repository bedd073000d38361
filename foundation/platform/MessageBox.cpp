#include "foundation/platform/MessageBox.h"

#include "foundation/text/WideString.h"

#include <cstdio>

namespace platform {

namespace {

MessageBoxHandler& handler() {
    static MessageBoxHandler current;
    return current;
}

} // namespace

void showMessage(std::u16string_view caption, std::u16string_view text) {
    if (handler()) {
        handler()(caption, text);
        return;
    }
    showMessageOnStandardError(caption, text);
}

void showMessageOnStandardError(std::u16string_view caption, std::u16string_view text) {
    std::string line = text::toUtf8(caption) + ": " + text::toUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void setMessageBoxHandler(MessageBoxHandler h) {
    handler() = std::move(h);
}

} // namespace platform

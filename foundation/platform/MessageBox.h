#pragma once

// The one way the programs show a message box. Without windows it writes
// "caption: text" to standard error; a program with windows installs its own handler at
// start-up and uses it when a display is available.

#include <functional>
#include <string_view>

namespace platform {

using MessageBoxHandler =
    std::function<void(std::u16string_view caption, std::u16string_view text)>;

void showMessage(std::u16string_view caption, std::u16string_view text);

// The message as a line "caption: text" on standard error, whatever handler is installed.
void showMessageOnStandardError(std::u16string_view caption, std::u16string_view text);

// Replaces the handler; an empty handler restores standard error.
void setMessageBoxHandler(MessageBoxHandler handler);

} // namespace platform

#pragma once

// The console of the process that started the program: its standard output. A program started
// without one (standard output closed) writes nothing, and a reader that went away (a closed
// pipe) neither stops the program nor makes it fail.

#include <string_view>

namespace platform {

// True when standard output is open.
bool consoleAvailable();

// Writes the text in UTF-8 as it is, without adding a line end. False when it could not be
// written whole.
bool writeConsole(std::u16string_view text);

} // namespace platform

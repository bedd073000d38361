#pragma once

// The console of the process that started the program: its standard output, or its standard
// error where standard output carries data. A program started without one (the stream
// closed) writes nothing, and a reader that went away (a closed pipe) neither stops the
// program nor makes it fail.

#include <cstddef>
#include <string_view>

namespace platform {

enum class ConsoleStream { Output, Error };

// True when the stream is open.
bool consoleAvailable(ConsoleStream stream = ConsoleStream::Output);

// Writes the text in UTF-8 as it is, without adding a line end. False when it could not be
// written whole.
bool writeConsole(std::u16string_view text, ConsoleStream stream = ConsoleStream::Output);

// Writes the bytes as they are. False when they could not be written whole.
bool writeConsoleBytes(const void* bytes, std::size_t count,
                       ConsoleStream stream = ConsoleStream::Output);

} // namespace platform

#pragma once

// A source of script lines for the parser: a file read as it goes, or the editor's text.

#include <cstdint>
#include <string_view>

namespace Libs::Stream {

class ITextStreamReader {
public:
    // Advances to the next line; false when there is none.
    virtual bool readLine() = 0;
    // The size of the source: bytes of a file, UTF-16 units of a text.
    virtual std::int64_t size() const = 0;
    // The current line with its line feed when it has one; valid until the next readLine.
    virtual std::u16string_view currentLine() const = 0;
    virtual ~ITextStreamReader() = default;
};

} // namespace Libs::Stream

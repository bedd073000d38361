#pragma once

// Wide strings are UTF-16 (std::u16string): every length and index in the programs counts
// UTF-16 units. These helpers convert at the edges (file names, console, Qt) and give the
// "C"-locale letter-case rules that name matching relies on.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// The same conversion into a caller's buffer, which must hold utf8Length(text) bytes;
// returns the number of bytes written.
std::size_t utf8Length(std::u16string_view text);
std::size_t encodeUtf8(std::u16string_view text, char* out);

// UTF-8 with every "\r\n" written as "\n": the programs' texts as Linux tools (git, diff,
// a terminal) expect them.
std::string toUtf8WithLineFeeds(std::u16string_view text);

// UTF-8 to UTF-16; each malformed sequence becomes U+FFFD.
std::u16string fromUtf8(std::string_view bytes);

// Lower-cases A-Z only, as tolower does in the "C" locale.
char16_t asciiLower(char16_t c);
std::u16string asciiLower(std::u16string_view text);
char16_t asciiUpper(char16_t c);
std::u16string asciiUpper(std::u16string_view text);

// Compares unit by unit after asciiLower, like wcsicmp: <0, 0 or >0.
int compareNoCase(std::u16string_view a, std::u16string_view b);
bool equalsNoCase(std::u16string_view a, std::u16string_view b);

// Plain decimal text of an integer.
std::u16string toWString(std::int64_t value);

// The C runtime's "%g" text of a double (the stream default format).
std::u16string formatDefault(double value);

// Parses a plain decimal integer (optional sign, digits only); false on anything else or
// on overflow.
bool parseInt(std::u16string_view text, std::int64_t& value);

} // namespace text

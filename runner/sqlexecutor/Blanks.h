#pragma once

// The two kinds of blank that scripts know: the white space of the C runtime, and the four
// characters that are trimmed from lines and statements.

#include <string_view>

namespace SQLExecutor {

// Space, tab, line feed, vertical tab, form feed, carriage return.
inline bool isWhiteSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

inline bool isLineBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

inline std::u16string_view trimmed(std::u16string_view text, bool (*isBlank)(char16_t)) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace SQLExecutor

#pragma once

#include <string>
#include <string_view>

// The bytes regedit writes for a text: the mark FF FE, then UTF-16 little-endian.
inline std::string utf16File(std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

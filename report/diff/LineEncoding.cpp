#include "report/diff/LineEncoding.h"

#include <unordered_map>

namespace diff {

namespace {

using LineNumbers = std::unordered_map<std::u16string_view, std::size_t>;

std::u16string encode(std::u16string_view text, std::size_t maxLines,
                      std::vector<std::u16string_view>& lines, LineNumbers& numbers) {
    std::u16string chars;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        const auto newline = text.find(u'\n', lineStart);
        auto lineEnd = newline == std::u16string_view::npos ? text.size() : newline + 1;
        auto line = text.substr(lineStart, lineEnd - lineStart);
        if (const auto known = numbers.find(line); known != numbers.end()) {
            chars.push_back(static_cast<char16_t>(known->second));
        } else {
            if (lines.size() == maxLines) {
                line = text.substr(lineStart);
                lineEnd = text.size();
            }
            chars.push_back(static_cast<char16_t>(lines.size()));
            numbers.emplace(line, lines.size());
            lines.push_back(line);
        }
        lineStart = lineEnd;
    }
    return chars;
}

} // namespace

LineEncoding encodeLines(std::u16string_view text1, std::u16string_view text2) {
    LineEncoding encoding;
    encoding.lines.emplace_back();
    LineNumbers numbers;
    // text1 may take about two thirds of the unit values, text2 the rest.
    encoding.chars1 = encode(text1, 40000, encoding.lines, numbers);
    encoding.chars2 = encode(text2, 65535, encoding.lines, numbers);
    return encoding;
}

void decodeLines(Segments& segments, const std::vector<std::u16string_view>& lines) {
    for (auto& segment : segments) {
        std::u16string text;
        for (const char16_t unit : segment.text) {
            text += lines[unit];
        }
        segment.text = std::move(text);
    }
}

} // namespace diff

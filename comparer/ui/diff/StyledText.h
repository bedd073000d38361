#pragma once

// The display structure of the diff view: every appended character in one text, broken into
// lines at each line feed, each line a run of styled spans. Spans point into the text, so
// appending a large diff copies its characters once.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace TextViewControl {

struct Span {
    std::size_t start;  // into the text, in UTF-16 units
    std::size_t length; // UTF-16 units
    int style;
    double width = 0; // pixels, set by measuring
};

class StyledText {
public:
    // Appends the characters with the style. A line feed ends the line, also when nothing
    // came before it on the line, and a carriage return right after a line feed is skipped;
    // a carriage return before a line feed stays at the end of its line's span.
    void append(std::u16string_view text, int style);

    const std::u16string& text() const { return text_; }
    std::size_t lineCount() const { return lineStarts_.size(); }
    // The spans of line `line`, which may be none (an empty last line) or of zero length.
    const Span* lineBegin(std::size_t line) const { return spans_.data() + lineStarts_[line]; }
    const Span* lineEnd(std::size_t line) const { return spans_.data() + lineEndIndex(line); }
    // For measuring, which sets the spans' widths.
    Span* lineBegin(std::size_t line) { return spans_.data() + lineStarts_[line]; }
    Span* lineEnd(std::size_t line) { return spans_.data() + lineEndIndex(line); }
    std::u16string_view spanText(const Span& span) const {
        return std::u16string_view(text_).substr(span.start, span.length);
    }

private:
    std::size_t lineEndIndex(std::size_t line) const {
        return line + 1 < lineStarts_.size() ? lineStarts_[line + 1] : spans_.size();
    }
    void addSpan(std::size_t start, std::size_t length, int style);

    std::u16string text_;
    std::vector<Span> spans_;
    // Index of each line's first span; a line's spans end where the next line's begin.
    std::vector<std::size_t> lineStarts_;
};

} // namespace TextViewControl

#pragma once

// A statement as the script's lines hold it, beside the statement the parser makes of them
// (lines trimmed and joined by blanks): line breaks and indentation kept. The text of a
// saved query is taken from here, so that a query stored with several lines is created with
// the same lines.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace SQLExecutor {

class OriginalText {
public:
    void clear();
    // A line of the statement, without its line end. kept is the part of the line that the
    // statement takes, a view into line; empty for an empty line.
    void appendLine(std::u16string_view line, std::u16string_view kept);

    // The original from the statement's unit first to its unit last, both included, with
    // the line breaks between them as "\r\n". The blank that joins two lines in the
    // statement stands for the end of its line.
    std::u16string text(std::size_t first, std::size_t last) const;
    // The original that follows the statement's unit unit, up to its unit last.
    std::u16string after(std::size_t unit, std::size_t last) const;

private:
    struct Piece {
        std::size_t statementStart; // first unit of the kept part in the statement
        std::size_t start;          // ... and in text_
        std::size_t length;         // units kept
        std::size_t lineEnd;        // the end of the line in text_
    };
    std::size_t position(std::size_t unit) const;

    std::u16string text_;
    std::vector<Piece> pieces_;
    std::size_t statementLength_ = 0;
};

} // namespace SQLExecutor

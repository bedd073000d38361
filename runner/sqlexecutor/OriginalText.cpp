#include "runner/sqlexecutor/OriginalText.h"

#include <algorithm>

namespace SQLExecutor {

void OriginalText::clear() {
    text_.clear();
    pieces_.clear();
    statementLength_ = 0;
}

void OriginalText::appendLine(std::u16string_view line, std::u16string_view kept) {
    if (!pieces_.empty())
        text_ += u"\r\n";
    std::size_t lineStart = text_.size();
    text_ += line;
    if (kept.empty())
        return;
    // The statement joins its lines with one blank.
    if (!pieces_.empty())
        ++statementLength_;
    pieces_.push_back({statementLength_, lineStart + std::size_t(kept.data() - line.data()),
                       kept.size(), text_.size()});
    statementLength_ += kept.size();
}

std::size_t OriginalText::position(std::size_t unit) const {
    auto after = std::upper_bound(
        pieces_.begin(), pieces_.end(), unit,
        [](std::size_t value, const Piece& piece) { return value < piece.statementStart; });
    const Piece& piece = *std::prev(after);
    std::size_t offset = unit - piece.statementStart;
    return offset < piece.length ? piece.start + offset : piece.lineEnd;
}

std::u16string OriginalText::text(std::size_t first, std::size_t last) const {
    std::size_t begin = position(first);
    std::size_t end = position(last) + 1;
    return begin < end ? text_.substr(begin, end - begin) : std::u16string();
}

std::u16string OriginalText::after(std::size_t unit, std::size_t last) const {
    std::size_t begin = position(unit) + 1;
    std::size_t end = position(last) + 1;
    return begin < end ? text_.substr(begin, end - begin) : std::u16string();
}

} // namespace SQLExecutor

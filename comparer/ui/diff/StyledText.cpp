#include "comparer/ui/diff/StyledText.h"

namespace TextViewControl {

void StyledText::addSpan(std::size_t start, std::size_t length, int style) {
    if (lineStarts_.empty())
        lineStarts_.push_back(0);
    spans_.push_back(Span{start, length, style});
}

void StyledText::append(std::u16string_view text, int style) {
    std::size_t i = text_.size();
    text_.append(text);
    std::size_t runStart = i;
    const std::size_t end = text_.size();
    while (i < end) {
        if (text_[i] != u'\n') {
            ++i;
            continue;
        }
        addSpan(runStart, i - runStart, style);
        lineStarts_.push_back(spans_.size());
        ++i;
        if (i < end && text_[i] == u'\r')
            ++i;
        runStart = i;
    }
    if (runStart < end)
        addSpan(runStart, end - runStart, style);
}

} // namespace TextViewControl

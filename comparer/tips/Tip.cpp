#include "comparer/tips/Tip.h"

namespace FormattedTextViewControl {

void Tip::startContainer(std::unique_ptr<AbstractContainer> container) {
    current_ = container.get();
    containers_.push_back(std::move(container));
}

void Tip::appendSegment(std::u16string_view characters, int style) {
    Segment segment;
    segment.start = text_.size();
    segment.length = characters.size();
    segment.style = style;
    text_ += characters;
    current_->segments.push_back(segment);
}

} // namespace FormattedTextViewControl

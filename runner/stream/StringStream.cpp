#include "runner/stream/StringStream.h"

namespace Libs::Text {

bool StringStream::readLine() {
    if (position_ >= text_.size())
        return false;
    std::size_t feed = text_.find(u'\n', position_);
    std::size_t end = feed == std::u16string::npos ? text_.size() : feed + 1;
    line_ = std::u16string_view(text_).substr(position_, end - position_);
    position_ = end;
    return true;
}

} // namespace Libs::Text

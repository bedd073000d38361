#pragma once

// One tip as the formatted text view shows it: the text of all its pieces in one buffer and
// the containers that say how the pieces are laid out.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace FormattedTextViewControl {

// A word of a paragraph or a piece of a line. Measuring sets the width, layout the place.
struct Segment {
    std::size_t start = 0;  // into the tip's text
    std::size_t length = 0; // UTF-16 units
    int style = 0;          // 0 normal, 1 bold
    int x = 0;
    int y = 0;
    int width = 0;
};

class AbstractContainer {
public:
    virtual ~AbstractContainer() = default;
    std::vector<Segment> segments;
};

// Words that are flowed into lines and justified.
class Paragraph : public AbstractContainer {};

// Pieces kept side by side on one line, never wrapped.
class Line : public AbstractContainer {};

class Tip {
public:
    const std::u16string& text() const { return text_; }
    std::u16string_view textOf(const Segment& segment) const {
        return std::u16string_view(text_).substr(segment.start, segment.length);
    }

    const std::vector<std::unique_ptr<AbstractContainer>>& containers() const {
        return containers_;
    }
    std::vector<std::unique_ptr<AbstractContainer>>& containers() { return containers_; }

    // The container that new segments go to: the one started last, or none.
    AbstractContainer* currentContainer() const { return current_; }
    void startContainer(std::unique_ptr<AbstractContainer> container);

    // Appends the characters to the text and a segment for them to the current container,
    // which must exist.
    void appendSegment(std::u16string_view characters, int style);

private:
    std::u16string text_;
    std::vector<std::unique_ptr<AbstractContainer>> containers_;
    AbstractContainer* current_ = nullptr;
};

} // namespace FormattedTextViewControl

#pragma once

// Lines of a text held in memory (the editor's script). Lines keep their "\r\n" or "\n".

#include "runner/stream/ITextStreamReader.h"

#include <string>

namespace Libs::Text {

class StringStream : public Libs::Stream::ITextStreamReader {
public:
    // The text is not copied and must outlive the stream.
    explicit StringStream(const std::u16string& text) : text_(text) {}

    bool readLine() override;
    std::int64_t size() const override { return std::int64_t(text_.size()); }
    std::u16string_view currentLine() const override { return line_; }

private:
    const std::u16string& text_;
    std::size_t position_ = 0;
    std::u16string_view line_;
};

} // namespace Libs::Text

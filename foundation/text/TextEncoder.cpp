#include "foundation/text/TextEncoder.h"

#include <stdexcept>

namespace text {

ITextEncoder::~ITextEncoder() = default;

unsigned char* ITextEncoder::scratch(std::size_t size) {
    if (size > capacity_) {
        buffer_.reset();
        capacity_ = 0;
        buffer_ = std::make_unique_for_overwrite<unsigned char[]>(size);
        capacity_ = size;
    }
    return buffer_.get();
}

std::unique_ptr<ITextEncoder> createTextEncoder(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::ASCII:
        return std::make_unique<TextEncoderASCII>();
    case TextEncoding::UTF8:
        return std::make_unique<TextEncoderUTF8>();
    case TextEncoding::UTF16:
        return std::make_unique<TextEncoderUTF16>();
    }
    throw std::invalid_argument("unknown text encoding code " +
                                std::to_string(static_cast<int>(encoding)));
}

} // namespace text

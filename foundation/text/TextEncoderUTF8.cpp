#include "foundation/text/TextEncoder.h"
#include "foundation/text/WideString.h"

#include <algorithm>

namespace text {

namespace {
constexpr unsigned char kBom[] = {0xEF, 0xBB, 0xBF};
}

ByteSpan TextEncoderUTF8::bom() const {
    return kBom;
}

ByteSpan TextEncoderUTF8::encode(const char16_t* text) {
    return encodeUnits(text ? std::u16string_view(text) : std::u16string_view());
}

ByteSpan TextEncoderUTF8::encode(const std::u16string& text) {
    return encodeUnits(text);
}

ByteSpan TextEncoderUTF8::encodeUnits(std::u16string_view text) {
    std::size_t minimum = 2 * text.size() + 2;
    text = text.substr(0, text.find(u'\0'));
    std::size_t count = utf8Length(text);
    unsigned char* out = scratch(std::max(minimum, count + 1));
    encodeUtf8(text, reinterpret_cast<char*>(out));
    out[count] = 0;
    return {out, count};
}

void TextEncoderUTF8::decode(const void* bytes, std::size_t count, std::u16string& out) {
    out = fromUtf8(std::string_view(static_cast<const char*>(bytes), count));
}

} // namespace text

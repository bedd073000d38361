#include "foundation/text/TextEncoder.h"

#include <bit>

namespace text {

// Encoding hands out the text's own storage as the file's bytes.
static_assert(std::endian::native == std::endian::little,
              "UTF-16 encoding assumes a little-endian machine");

namespace {
constexpr unsigned char kBom[] = {0xFF, 0xFE};

ByteSpan unitsAsBytes(const char16_t* units, std::size_t count) {
    return {reinterpret_cast<const unsigned char*>(units), 2 * count};
}
} // namespace

ByteSpan TextEncoderUTF16::bom() const {
    return kBom;
}

ByteSpan TextEncoderUTF16::encode(const char16_t* text) {
    if (!text)
        return {};
    return unitsAsBytes(text, std::u16string_view(text).size());
}

ByteSpan TextEncoderUTF16::encode(const std::u16string& text) {
    return unitsAsBytes(text.data(), text.size());
}

void TextEncoderUTF16::decode(const void* bytes, std::size_t count, std::u16string& out) {
    const auto* in = static_cast<const unsigned char*>(bytes);
    std::size_t units = count / 2;
    out.reserve(out.size() + units);
    for (std::size_t i = 0; i < units; ++i)
        out.push_back(char16_t(in[2 * i] | (in[2 * i + 1] << 8)));
}

} // namespace text

#include "foundation/text/TextEncoder.h"

#include <array>

namespace text {

namespace {

// Windows-1252 bytes 0x80-0x9F. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as the Windows converter does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr unsigned char kDefaultChar = '?';

char16_t toUnicode(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b);
}

unsigned char fromUnicode(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return kDefaultChar;
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

ByteSpan TextEncoderASCII::encode(const char16_t* text) {
    return encodeUnits(text ? std::u16string_view(text) : std::u16string_view());
}

ByteSpan TextEncoderASCII::encode(const std::u16string& text) {
    return encodeUnits(text);
}

ByteSpan TextEncoderASCII::encodeUnits(std::u16string_view text) {
    unsigned char* out = scratch(2 * text.size() + 2);
    text = text.substr(0, text.find(u'\0'));
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character and so one default character.
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            ++i;
        out[n++] = fromUnicode(text[i]);
    }
    out[n] = 0;
    return {out, n};
}

void TextEncoderASCII::decode(const void* bytes, std::size_t count, std::u16string& out) {
    const auto* in = static_cast<const unsigned char*>(bytes);
    out.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = toUnicode(in[i]);
}

} // namespace text

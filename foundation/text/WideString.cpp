#include "foundation/text/WideString.h"

#include <cstdio>
#include <limits>

namespace text {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Writes one code point as UTF-8 at out; returns the number of bytes (1 to 4).
std::size_t putUtf8(char* out, char32_t cp) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

std::size_t utf8Size(char32_t cp) {
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

bool isHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Calls f with each code point of the text; a lone surrogate gives U+FFFD.
template <typename F> void forEachCodePoint(std::u16string_view text, F f) {
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1])) {
            f(0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (isHigh(c) || isLow(c)) {
            f(kReplacement);
        } else {
            f(c);
        }
    }
}

} // namespace

std::size_t utf8Length(std::u16string_view text) {
    std::size_t n = 0;
    forEachCodePoint(text, [&](char32_t cp) { n += utf8Size(cp); });
    return n;
}

std::size_t encodeUtf8(std::u16string_view text, char* out) {
    std::size_t n = 0;
    forEachCodePoint(text, [&](char32_t cp) { n += putUtf8(out + n, cp); });
    return n;
}

std::string toUtf8(std::u16string_view text) {
    std::string out(utf8Length(text), '\0');
    encodeUtf8(text, out.data());
    return out;
}

std::string toUtf8WithLineFeeds(std::u16string_view text) {
    std::string bytes = toUtf8(text);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        out += bytes[i];
    }
    return out;
}

std::u16string fromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        auto b0 = static_cast<unsigned char>(bytes[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        int extra = b0 >= 0xF0 && b0 <= 0xF4  ? 3
                    : b0 >= 0xE0              ? 2
                    : b0 >= 0xC2 && b0 < 0xE0 ? 1
                                              : -1;
        if (b0 > 0xF4)
            extra = -1;
        if (extra < 0) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        char32_t cp = b0 & (0x3F >> extra);
        size_t j = 1;
        for (; j <= size_t(extra) && i + j < bytes.size(); ++j) {
            auto b = static_cast<unsigned char>(bytes[i + j]);
            if ((b & 0xC0) != 0x80)
                break;
            // Reject overlong forms, surrogates and values past U+10FFFF at the second byte.
            if (j == 1 && ((b0 == 0xE0 && b < 0xA0) || (b0 == 0xED && b > 0x9F) ||
                           (b0 == 0xF0 && b < 0x90) || (b0 == 0xF4 && b > 0x8F)))
                break;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (j <= size_t(extra)) {
            out.push_back(kReplacement);
            i += j;
            continue;
        }
        appendUtf16(out, cp);
        i += j;
    }
    return out;
}

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}
char16_t asciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

std::u16string asciiLower(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        c = asciiLower(c);
    return out;
}

std::u16string asciiUpper(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        c = asciiUpper(c);
    return out;
}

int compareNoCase(std::u16string_view a, std::u16string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int d = int(asciiLower(a[i])) - int(asciiLower(b[i]));
        if (d != 0)
            return d;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool equalsNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

std::u16string toWString(std::int64_t value) {
    std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}

std::u16string formatDefault(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", value);
    std::string s(buf);
    return std::u16string(s.begin(), s.end());
}

bool parseInt(std::u16string_view text, std::int64_t& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative
                                    ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                    : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < u'0' || c > u'9')
            return false;
        unsigned digit = c - u'0';
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? std::int64_t(0 - magnitude) : std::int64_t(magnitude);
    return true;
}

} // namespace text

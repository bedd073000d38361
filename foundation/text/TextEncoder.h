#pragma once

// Converters between wide text and the bytes of files. Each encoder owns a scratch buffer:
// encode returns a view into it (or, for UTF-16, into the caller's text) that stays valid
// until the next encode on the same encoder or its destruction. The buffer only grows, so
// encoding a large text again and again costs one allocation at most. Encoders are not to
// be shared between threads.

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace text {

// The codes by which callers choose an encoding; no other code exists.
enum class TextEncoding : int { ASCII = 1, UTF8 = 2, UTF16 = 3 };

using ByteSpan = std::span<const unsigned char>;

class ITextEncoder {
public:
    virtual ~ITextEncoder();

    // The byte-order mark written at the start of a file; empty for ASCII.
    virtual ByteSpan bom() const = 0;
    // The bytes of the text, without a terminator. ASCII and UTF-8 stop at the first NUL.
    virtual ByteSpan encode(const char16_t* text) = 0;
    virtual ByteSpan encode(const std::u16string& text) = 0;
    // ASCII and UTF-8 replace the content of out; UTF-16 appends to it.
    virtual void decode(const void* bytes, std::size_t count, std::u16string& out) = 0;

protected:
    ITextEncoder() = default;

    // At least size bytes of scratch space; earlier views into it become invalid.
    unsigned char* scratch(std::size_t size);

private:
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t capacity_ = 0;
};

// The system's ANSI code page, Windows-1252. A character it cannot represent is written as
// "?"; the five bytes the code page leaves undefined decode to the C1 controls of the same
// value and encode back to those bytes.
class TextEncoderASCII final : public ITextEncoder {
public:
    ByteSpan bom() const override { return {}; }
    ByteSpan encode(const char16_t* text) override;
    ByteSpan encode(const std::u16string& text) override;
    void decode(const void* bytes, std::size_t count, std::u16string& out) override;

private:
    ByteSpan encodeUnits(std::u16string_view text);
};

// UTF-8 with the mark EF BB BF. A lone surrogate is written as U+FFFD; each malformed
// sequence decodes to U+FFFD.
class TextEncoderUTF8 final : public ITextEncoder {
public:
    ByteSpan bom() const override;
    ByteSpan encode(const char16_t* text) override;
    ByteSpan encode(const std::u16string& text) override;
    void decode(const void* bytes, std::size_t count, std::u16string& out) override;

private:
    ByteSpan encodeUnits(std::u16string_view text);
};

// UTF-16 little-endian with the mark FF FE. Encoding hands out the text's own storage;
// decoding appends and drops an odd last byte.
class TextEncoderUTF16 final : public ITextEncoder {
public:
    ByteSpan bom() const override;
    ByteSpan encode(const char16_t* text) override;
    ByteSpan encode(const std::u16string& text) override;
    void decode(const void* bytes, std::size_t count, std::u16string& out) override;
};

// The encoder for a code; an unknown code throws std::invalid_argument.
std::unique_ptr<ITextEncoder> createTextEncoder(TextEncoding encoding);

} // namespace text

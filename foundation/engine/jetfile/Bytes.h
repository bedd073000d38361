#pragma once

// Bounds-checked little-endian access to the bytes of a page. Every read of a file's bytes
// goes through ByteView, so that a damaged or hostile file ends in a FormatError, never in
// a read outside the buffer.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace engine::jetfile {

using Bytes = std::vector<std::uint8_t>;

class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteView {
public:
    ByteView() = default;
    ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    ByteView(const Bytes& bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> span() const { return bytes_; }

    std::uint8_t u8(std::size_t at) const;
    std::uint16_t u16(std::size_t at) const;
    std::uint32_t u24(std::size_t at) const;
    std::uint32_t u32(std::size_t at) const;
    // The count bytes from at, checked.
    ByteView sub(std::size_t at, std::size_t count) const;
    Bytes copy(std::size_t at, std::size_t count) const;
    Bytes copy() const { return Bytes(bytes_.begin(), bytes_.end()); }

private:
    void check(std::size_t at, std::size_t count) const;

    std::span<const std::uint8_t> bytes_;
};

// Writers into a buffer that is already large enough or grows at the end.
void putU8(Bytes& out, std::size_t at, std::uint8_t value);
void putU16(Bytes& out, std::size_t at, std::uint16_t value);
void putU24(Bytes& out, std::size_t at, std::uint32_t value);
void putU32(Bytes& out, std::size_t at, std::uint32_t value);
void putBytes(Bytes& out, std::size_t at, std::span<const std::uint8_t> value);

void appendU8(Bytes& out, std::uint8_t value);
void appendU16(Bytes& out, std::uint16_t value);
void appendU32(Bytes& out, std::uint32_t value);
void appendBytes(Bytes& out, std::span<const std::uint8_t> value);

} // namespace engine::jetfile

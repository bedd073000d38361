#include "foundation/engine/jetfile/Bytes.h"

#include <algorithm>

namespace engine::jetfile {

void ByteView::check(std::size_t at, std::size_t count) const {
    if (at > bytes_.size() || count > bytes_.size() - at)
        throw FormatError("read of " + std::to_string(count) + " bytes at " + std::to_string(at) +
                          " beyond " + std::to_string(bytes_.size()));
}

std::uint8_t ByteView::u8(std::size_t at) const {
    check(at, 1);
    return bytes_[at];
}

std::uint16_t ByteView::u16(std::size_t at) const {
    check(at, 2);
    return std::uint16_t(bytes_[at] | bytes_[at + 1] << 8);
}

std::uint32_t ByteView::u24(std::size_t at) const {
    check(at, 3);
    return std::uint32_t(bytes_[at]) | std::uint32_t(bytes_[at + 1]) << 8 |
           std::uint32_t(bytes_[at + 2]) << 16;
}

std::uint32_t ByteView::u32(std::size_t at) const {
    check(at, 4);
    return u24(at) | std::uint32_t(bytes_[at + 3]) << 24;
}

ByteView ByteView::sub(std::size_t at, std::size_t count) const {
    check(at, count);
    return ByteView(bytes_.subspan(at, count));
}

Bytes ByteView::copy(std::size_t at, std::size_t count) const {
    check(at, count);
    return Bytes(bytes_.begin() + std::ptrdiff_t(at), bytes_.begin() + std::ptrdiff_t(at + count));
}

namespace {

void reserveFor(Bytes& out, std::size_t at, std::size_t count) {
    if (out.size() < at + count)
        out.resize(at + count);
}

} // namespace

void putU8(Bytes& out, std::size_t at, std::uint8_t value) {
    reserveFor(out, at, 1);
    out[at] = value;
}

void putU16(Bytes& out, std::size_t at, std::uint16_t value) {
    reserveFor(out, at, 2);
    out[at] = std::uint8_t(value);
    out[at + 1] = std::uint8_t(value >> 8);
}

void putU24(Bytes& out, std::size_t at, std::uint32_t value) {
    reserveFor(out, at, 3);
    for (std::size_t i = 0; i < 3; ++i)
        out[at + i] = std::uint8_t(value >> (8 * i));
}

void putU32(Bytes& out, std::size_t at, std::uint32_t value) {
    reserveFor(out, at, 4);
    for (std::size_t i = 0; i < 4; ++i)
        out[at + i] = std::uint8_t(value >> (8 * i));
}

void putBytes(Bytes& out, std::size_t at, std::span<const std::uint8_t> value) {
    reserveFor(out, at, value.size());
    std::copy(value.begin(), value.end(), out.begin() + std::ptrdiff_t(at));
}

void appendU8(Bytes& out, std::uint8_t value) {
    out.push_back(value);
}
void appendU16(Bytes& out, std::uint16_t value) {
    putU16(out, out.size(), value);
}
void appendU32(Bytes& out, std::uint32_t value) {
    putU32(out, out.size(), value);
}
void appendBytes(Bytes& out, std::span<const std::uint8_t> value) {
    out.insert(out.end(), value.begin(), value.end());
}

} // namespace engine::jetfile

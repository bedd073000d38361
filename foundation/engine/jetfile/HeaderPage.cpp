#include "foundation/engine/jetfile/HeaderPage.h"

#include <array>
#include <cstring>

namespace engine::jetfile {

namespace {

constexpr std::size_t maskedStart = 0x18;
constexpr std::size_t codePageAt = 0x3C;
constexpr std::size_t encodingKeyAt = 0x3E;
constexpr std::size_t sortOrderAt = 0x6E;
constexpr std::size_t creationDateAt = 0x72;

// The fixed key that masks the definition page (publicly documented by the file-format
// descriptions of the open-source Access readers).
constexpr std::array<std::uint8_t, 128> headerMask = {
    0xB5, 0x6F, 0x03, 0x62, 0x61, 0x08, 0xC2, 0x55, 0xEB, 0xA9, 0x67, 0x72, 0x43, 0x3F, 0x00, 0x9C,
    0x7A, 0x9F, 0x90, 0xFF, 0x80, 0x9A, 0x31, 0xC5, 0x79, 0xBA, 0xED, 0x30, 0xBC, 0xDF, 0xCC, 0x9D,
    0x63, 0xD9, 0xE4, 0xC3, 0x7B, 0x42, 0xFB, 0x8A, 0xBC, 0x4E, 0x86, 0xFB, 0xEC, 0x37, 0x5D, 0x44,
    0x9C, 0xFA, 0xC6, 0x5E, 0x28, 0xE6, 0x13, 0xB6, 0x8A, 0x60, 0x54, 0x94, 0x7B, 0x36, 0xF5, 0x72,
    0xDF, 0xB1, 0x77, 0xF4, 0x13, 0x43, 0xCF, 0xAF, 0xB1, 0x33, 0x34, 0x61, 0x79, 0x5B, 0x92, 0xB5,
    0x7C, 0x2A, 0x05, 0xF1, 0x7C, 0x99, 0x01, 0x1B, 0x98, 0xFD, 0x12, 0x4F, 0x4A, 0x94, 0x6C, 0x3E,
    0x60, 0x26, 0x5F, 0x95, 0xF8, 0xD0, 0x89, 0x24, 0x85, 0x67, 0xC6, 0x1F, 0x27, 0x44, 0xD2, 0xEE,
    0xCF, 0x65, 0xED, 0xFF, 0x07, 0xC7, 0x46, 0xA1, 0x78, 0x16, 0x0C, 0xED, 0xE9, 0x2D, 0x62, 0xD4};

void applyMask(Bytes& page) {
    for (std::size_t i = 0; i < headerMask.size(); ++i)
        page[maskedStart + i] ^= headerMask[i];
}

} // namespace

HeaderPage HeaderPage::decode(ByteView page) {
    if (page.size() != pageSize || page.u8(0) != 0)
        throw FormatError("page 0 is not a database definition page");
    auto format = detectFormat(page);
    if (!format)
        throw FormatError("not a Jet 4 or ACE file");
    HeaderPage header;
    header.format = *format;
    header.page = page.copy();
    applyMask(header.page);
    ByteView plain(header.page);
    header.codePage = plain.u16(codePageAt);
    header.encodingKey = plain.u32(encodingKeyAt);
    header.sortOrder = {plain.u16(sortOrderAt), plain.u8(sortOrderAt + 3)};
    std::uint64_t dateBits = std::uint64_t(plain.u32(creationDateAt)) |
                             std::uint64_t(plain.u32(creationDateAt + 4)) << 32;
    std::memcpy(&header.creationDate, &dateBits, sizeof dateBits);
    return header;
}

Bytes HeaderPage::encode() const {
    Bytes out = page;
    putU16(out, codePageAt, codePage);
    putU32(out, encodingKeyAt, encodingKey);
    putU16(out, sortOrderAt, sortOrder.id);
    putU8(out, sortOrderAt + 3, sortOrder.version);
    std::uint64_t dateBits = 0;
    std::memcpy(&dateBits, &creationDate, sizeof dateBits);
    putU32(out, creationDateAt, std::uint32_t(dateBits));
    putU32(out, creationDateAt + 4, std::uint32_t(dateBits >> 32));
    applyMask(out);
    return out;
}

} // namespace engine::jetfile

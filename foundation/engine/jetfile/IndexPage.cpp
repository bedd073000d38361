#include "foundation/engine/jetfile/IndexPage.h"

#include "foundation/engine/jetfile/PageTypes.h"

namespace engine::jetfile {

namespace {

constexpr std::size_t prefixLengthAt = 24;
constexpr std::size_t maskAt = 27;
constexpr std::size_t entriesAt = 0x1E0;

std::uint32_t bigEndian(ByteView bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | bytes.u8(at + i);
    return value;
}

std::size_t entriesEnd(const IndexPage& page) {
    std::size_t end = entriesAt;
    for (std::size_t i = 0; i < page.entries.size(); ++i)
        end += page.entries[i].bytes.size() - (i == 0 ? 0 : page.prefixLength);
    return end;
}

} // namespace

IndexPage IndexPage::decode(ByteView bytes) {
    if (bytes.size() != pageSize || bytes.u8(1) != 1 ||
        (bytes.u8(0) != page::indexNode && bytes.u8(0) != page::indexLeaf))
        throw FormatError("not an index page");
    IndexPage decoded;
    decoded.leaf = bytes.u8(0) == page::indexLeaf;
    decoded.freeSpace = bytes.u16(2);
    decoded.owner = bytes.u32(4);
    decoded.reserved8 = bytes.u32(8);
    decoded.previousPage = bytes.u32(12);
    decoded.nextPage = bytes.u32(16);
    decoded.tailPage = bytes.u32(20);
    decoded.prefixLength = bytes.u16(prefixLengthAt);
    decoded.reserved26 = bytes.u8(prefixLengthAt + 2);
    std::size_t start = entriesAt;
    Bytes first;
    for (std::size_t at = entriesAt + 1; at <= pageSize; ++at) {
        std::size_t bit = at - entriesAt;
        if (!(bytes.u8(maskAt + bit / 8) & (1 << (bit % 8))))
            continue;
        IndexEntry entry;
        if (!decoded.entries.empty()) {
            if (decoded.prefixLength > first.size())
                throw FormatError("index prefix longer than the first entry");
            entry.bytes.assign(first.begin(), first.begin() + decoded.prefixLength);
        }
        Bytes rest = bytes.copy(start, at - start);
        entry.bytes.insert(entry.bytes.end(), rest.begin(), rest.end());
        if (decoded.entries.empty())
            first = entry.bytes;
        decoded.entries.push_back(std::move(entry));
        start = at;
    }
    return decoded;
}

Bytes IndexPage::encode() const {
    Bytes out(pageSize);
    putU8(out, 0, leaf ? page::indexLeaf : page::indexNode);
    putU8(out, 1, 1);
    putU16(out, 2, freeSpace);
    putU32(out, 4, owner);
    putU32(out, 8, reserved8);
    putU32(out, 12, previousPage);
    putU32(out, 16, nextPage);
    putU32(out, 20, tailPage);
    putU16(out, prefixLengthAt, prefixLength);
    putU8(out, prefixLengthAt + 2, reserved26);
    std::size_t at = entriesAt;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::size_t skip = i == 0 ? 0 : prefixLength;
        const Bytes& entry = entries[i].bytes;
        if (skip > entry.size() || at + entry.size() - skip > pageSize)
            throw FormatError("index entries overflow their page");
        putBytes(out, at, std::span<const std::uint8_t>(entry).subspan(skip));
        at += entry.size() - skip;
        std::size_t bit = at - entriesAt;
        out[maskAt + bit / 8] |= std::uint8_t(1 << (bit % 8));
    }
    return out;
}

std::pair<std::size_t, std::size_t> IndexPage::unusedArea() const {
    return {entriesEnd(*this), pageSize};
}

EntryParts splitEntry(const IndexEntry& entry, bool leaf) {
    ByteView bytes(entry.bytes);
    std::size_t pointers = leaf ? 4 : 8;
    if (bytes.size() < pointers)
        throw FormatError("index entry shorter than its pointers");
    std::size_t keyLength = bytes.size() - pointers;
    EntryParts parts;
    parts.key = bytes.sub(0, keyLength);
    parts.dataPage = bigEndian(bytes, keyLength, 3);
    parts.dataRow = bytes.u8(keyLength + 3);
    if (!leaf)
        parts.childPage = bigEndian(bytes, keyLength + 4, 4);
    return parts;
}

} // namespace engine::jetfile

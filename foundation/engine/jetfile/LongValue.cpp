#include "foundation/engine/jetfile/LongValue.h"

#include "foundation/engine/jetfile/DataPage.h"
#include "foundation/engine/jetfile/UsageMap.h"

namespace engine::jetfile {

namespace {

constexpr std::size_t referenceSize = 12;
constexpr std::uint32_t lengthMask = 0x3FFFFFFF;

Bytes readRow(const PageSource& file, std::uint32_t pointer) {
    RowPointer at = RowPointer::fromStored(pointer);
    Bytes bytes = file.read(at.page);
    DataPage page = DataPage::decode(bytes);
    return rowAt(page, at.row).copy();
}

} // namespace

LongValueReference LongValueReference::decode(ByteView stored) {
    LongValueReference reference;
    std::uint32_t head = stored.u32(0);
    reference.length = head & lengthMask;
    std::uint8_t kind = std::uint8_t(head >> 24) & 0xC0;
    reference.kind = Kind(kind);
    reference.rowPointer = stored.u32(4);
    reference.reserved = stored.u32(8);
    if (reference.kind == Kind::inline_)
        reference.inlineBytes = stored.copy(referenceSize, stored.size() - referenceSize);
    return reference;
}

Bytes LongValueReference::encode() const {
    Bytes out;
    appendU32(out, (length & lengthMask) | std::uint32_t(kind) << 24);
    appendU32(out, rowPointer);
    appendU32(out, reserved);
    appendBytes(out, inlineBytes);
    return out;
}

Bytes readLongValue(const PageSource& file, ByteView stored) {
    LongValueReference reference = LongValueReference::decode(stored);
    switch (reference.kind) {
    case LongValueReference::Kind::inline_:
        if (reference.inlineBytes.size() < reference.length)
            throw FormatError("inline long value shorter than its length");
        reference.inlineBytes.resize(reference.length);
        return reference.inlineBytes;
    case LongValueReference::Kind::singleRow: {
        Bytes row = readRow(file, reference.rowPointer);
        if (row.size() < reference.length)
            throw FormatError("long value row shorter than its length");
        row.resize(reference.length);
        return row;
    }
    case LongValueReference::Kind::chained:
        break;
    default:
        throw FormatError("unknown long value kind");
    }
    Bytes value;
    std::uint32_t next = reference.rowPointer;
    for (std::size_t hops = 0; next != 0 && value.size() < reference.length; ++hops) {
        if (hops > file.pageCount())
            throw FormatError("long value chain loops");
        Bytes row = readRow(file, next);
        ByteView view(row);
        next = view.u32(0);
        appendBytes(value, view.span().subspan(4));
    }
    if (value.size() < reference.length)
        throw FormatError("long value chain shorter than its length");
    value.resize(reference.length);
    return value;
}

} // namespace engine::jetfile

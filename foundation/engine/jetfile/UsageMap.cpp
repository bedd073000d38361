#include "foundation/engine/jetfile/UsageMap.h"

#include "foundation/engine/jetfile/PageTypes.h"

namespace engine::jetfile {

namespace {

constexpr std::size_t mapPageHeader = 4;
constexpr std::size_t pagesPerMapPage = (pageSize - mapPageHeader) * 8;

void collect(std::set<PageNumber>& pages, std::uint32_t first, ByteView bitmap) {
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        std::uint8_t bits = bitmap.u8(i);
        for (int bit = 0; bit < 8; ++bit)
            if (bits & (1 << bit))
                pages.insert(PageNumber(first + i * 8 + std::size_t(bit)));
    }
}

} // namespace

UsageMap UsageMap::decodeRow(ByteView row, const PageSource& file) {
    UsageMap map;
    std::uint8_t kind = row.u8(0);
    if (kind == 0) {
        map.startPage = row.u32(1);
        map.bitmap = row.copy(5, row.size() - 5);
        collect(map.pages, map.startPage, map.bitmap);
        return map;
    }
    if (kind != 1)
        throw FormatError("unknown usage map type " + std::to_string(kind));
    map.kind = Kind::pages;
    for (std::size_t at = 1; at + 4 <= row.size(); at += 4) {
        PageNumber page = row.u32(at);
        map.bitmapPages.push_back(page);
        if (page == 0)
            continue;
        Bytes bytes = file.read(page);
        UsageMapPage decoded = UsageMapPage::decode(bytes);
        collect(map.pages, PageNumber((map.bitmapPages.size() - 1) * pagesPerMapPage),
                decoded.bitmap);
    }
    return map;
}

Bytes UsageMap::encodeRow() const {
    Bytes out;
    appendU8(out, std::uint8_t(kind));
    if (kind == Kind::inline_) {
        appendU32(out, startPage);
        appendBytes(out, bitmap);
        return out;
    }
    for (PageNumber page : bitmapPages)
        appendU32(out, page);
    return out;
}

ByteView rowAt(const DataPage& page, std::uint8_t row) {
    if (row >= page.rows.size())
        throw FormatError("row " + std::to_string(row) + " missing from its page");
    return ByteView(page.rows[row].bytes);
}

UsageMap readUsageMap(const PageSource& file, std::uint32_t rowPointer) {
    RowPointer at = RowPointer::fromStored(rowPointer);
    Bytes bytes = file.read(at.page);
    DataPage page = DataPage::decode(bytes);
    return UsageMap::decodeRow(rowAt(page, at.row), file);
}

UsageMapPage UsageMapPage::decode(ByteView page) {
    if (page.size() != pageSize || page.u8(0) != page::usageMap || page.u8(1) != 1)
        throw FormatError("not a usage map page");
    return {page.u16(2), page.copy(mapPageHeader, pageSize - mapPageHeader)};
}

Bytes UsageMapPage::encode() const {
    Bytes out(pageSize);
    putU8(out, 0, page::usageMap);
    putU8(out, 1, 1);
    putU16(out, 2, reserved);
    putBytes(out, mapPageHeader, bitmap);
    return out;
}

} // namespace engine::jetfile

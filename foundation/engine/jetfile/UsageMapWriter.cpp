#include "foundation/engine/jetfile/UsageMapWriter.h"

namespace engine::jetfile {

namespace {

constexpr std::size_t mapPageHeader = 4;
constexpr std::size_t pagesPerMapPage = (pageSize - mapPageHeader) * 8;

// Inline ranges start on a whole byte of the bitmap.
PageNumber rangeStartFor(PageNumber page) {
    return page / 8 * 8;
}

void setBit(Bytes& bitmap, std::size_t bit, bool on) {
    std::uint8_t mask = std::uint8_t(1 << (bit % 8));
    if (on)
        bitmap.at(bit / 8) |= mask;
    else
        bitmap.at(bit / 8) &= std::uint8_t(~mask);
}

} // namespace

UsageMapWriter::UsageMapWriter(WorkingCopy& copy, std::uint32_t rowPointer, Meaning meaning)
    : copy_(copy), meaning_(meaning), at_(RowPointer::fromStored(rowPointer)) {
    DataPage page = DataPage::decode(copy_.read(at_.page));
    if (at_.row >= page.rows.size())
        throw FormatError("usage map row " + std::to_string(at_.row) + " missing from page " +
                          std::to_string(at_.page));
    const DataRow& row = page.rows[at_.row];
    rowOffset_ = row.offset;
    rowSize_ = row.bytes.size();
    map_ = UsageMap::decodeRow(row.bytes, copy_);
    if (map_.kind == UsageMap::Kind::inline_ && rowSize_ < 5)
        throw FormatError("usage map row too short");
}

bool UsageMapWriter::inRange(PageNumber page) const {
    return page >= map_.startPage && page - map_.startPage < inlineBits();
}

bool UsageMapWriter::beyondCoverage(PageNumber page) const {
    if (map_.kind == UsageMap::Kind::inline_)
        return page >= map_.startPage && !inRange(page);
    std::size_t slot = page / pagesPerMapPage;
    return slot >= map_.bitmapPages.size() || map_.bitmapPages[slot] == 0;
}

void UsageMapWriter::set(PageNumber page, bool on, const NewPage& newPage) {
    bool current = contains(page) || (meaning_ == Meaning::freePages && beyondCoverage(page));
    if (current == on)
        return;
    if (map_.kind == UsageMap::Kind::inline_)
        setInline(page, on, newPage);
    else
        setInMapPage(page, on, newPage);
}

void UsageMapWriter::setInline(PageNumber page, bool on, const NewPage& newPage) {
    if (!inRange(page)) {
        if (meaning_ == Meaning::freePages) {
            // Pages before the range are never handed out again; past it they count as free
            // until the range moves over them.
            if (on || page < map_.startPage)
                return;
            moveRange(rangeStartFor(PageNumber(page - inlineBits() / 2)));
        } else {
            if (!on)
                return;
            PageNumber first = std::min(page, map_.pages.empty() ? page : *map_.pages.begin());
            PageNumber last = std::max(page, map_.pages.empty() ? page : *map_.pages.rbegin());
            PageNumber start = rangeStartFor(first);
            if (last - start >= inlineBits()) {
                becomeMapOfPages(newPage);
                setInMapPage(page, on, newPage);
                return;
            }
            moveRange(start);
        }
    }
    setBit(map_.bitmap, page - map_.startPage, on);
    if (on)
        map_.pages.insert(page);
    else
        map_.pages.erase(page);
    writeRow();
}

void UsageMapWriter::moveRange(PageNumber start) {
    PageNumber oldEnd = PageNumber(map_.startPage + inlineBits());
    std::set<PageNumber> kept;
    for (PageNumber page : map_.pages)
        if (page >= start && page - start < inlineBits())
            kept.insert(page);
    if (meaning_ == Meaning::freePages)
        for (PageNumber page = std::max(start, oldEnd); page - start < inlineBits(); ++page)
            if (page >= copy_.pageCount())
                kept.insert(page);
    std::fill(map_.bitmap.begin(), map_.bitmap.end(), 0);
    map_.startPage = start;
    for (PageNumber page : kept)
        setBit(map_.bitmap, page - start, true);
    map_.pages = std::move(kept);
    writeRow();
}

void UsageMapWriter::becomeMapOfPages(const NewPage& newPage) {
    std::set<PageNumber> pages = map_.pages;
    map_ = UsageMap{};
    map_.kind = UsageMap::Kind::pages;
    map_.bitmapPages.assign((rowSize_ - 1) / 4, 0);
    writeRow();
    for (PageNumber page : pages)
        setInMapPage(page, true, newPage);
}

void UsageMapWriter::setInMapPage(PageNumber page, bool on, const NewPage& newPage) {
    std::size_t slot = page / pagesPerMapPage;
    if (slot >= map_.bitmapPages.size()) {
        if (meaning_ == Meaning::freePages && on)
            return;
        if (meaning_ == Meaning::ownedPages && !on)
            return;
        throw FormatError("page " + std::to_string(page) + " lies beyond what a usage map covers");
    }
    PageNumber first = PageNumber(slot * pagesPerMapPage);
    if (map_.bitmapPages[slot] == 0) {
        if (meaning_ == Meaning::ownedPages && !on)
            return;
        UsageMapPage fresh;
        fresh.bitmap.assign(pageSize - mapPageHeader,
                            meaning_ == Meaning::freePages ? std::uint8_t(0xFF) : std::uint8_t(0));
        PageNumber mapPage = newPage();
        copy_.write(mapPage, fresh.encode());
        map_.bitmapPages[slot] = mapPage;
        writeRow();
        if (meaning_ == Meaning::freePages) {
            // A new range starts free past the file's end and in use before it.
            for (PageNumber p = first; p - first < pagesPerMapPage; ++p)
                if (p < copy_.pageCount())
                    setBit(fresh.bitmap, p - first, false);
                else
                    map_.pages.insert(p);
            copy_.write(mapPage, fresh.encode());
        }
    }
    PageNumber mapPage = map_.bitmapPages[slot];
    UsageMapPage decoded = UsageMapPage::decode(copy_.read(mapPage));
    setBit(decoded.bitmap, page - first, on);
    copy_.write(mapPage, decoded.encode());
    if (on)
        map_.pages.insert(page);
    else
        map_.pages.erase(page);
}

void UsageMapWriter::writeRow() {
    Bytes row = map_.encodeRow();
    if (row.size() > rowSize_)
        throw FormatError("usage map outgrew its row");
    row.resize(rowSize_);
    Bytes page = copy_.read(at_.page);
    putBytes(page, rowOffset_, row);
    copy_.write(at_.page, std::move(page));
}

} // namespace engine::jetfile

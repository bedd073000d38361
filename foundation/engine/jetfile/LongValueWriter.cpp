#include "foundation/engine/jetfile/LongValueWriter.h"

#include "foundation/engine/jetfile/PageTypes.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

constexpr std::size_t referenceSize = 12;
constexpr std::size_t maxInlineSize = 64;
constexpr std::size_t maxRowSize = 4076;
constexpr std::size_t chainPointerSize = 4;

} // namespace

LongValueWriter::LongValueWriter(WorkingCopy& copy, PageAllocator& allocator,
                                 const TableDefinition& table, std::uint16_t columnNumber)
    : copy_(copy), allocator_(allocator) {
    for (const ColumnUsageMaps& maps : table.columnUsageMaps)
        if (maps.columnNumber == columnNumber)
            maps_.emplace(ColumnMaps{UsageMapWriter(copy, maps.usedPages),
                                     UsageMapWriter(copy, maps.freePages)});
    if (maps_)
        current_ = lastPageWithRoom();
}

PageNumber LongValueWriter::lastPageWithRoom() const {
    const std::set<PageNumber>& owned = maps_->owned.pages();
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        if (!maps_->withRoom.contains(*it) || *it >= copy_.pageCount())
            continue;
        Bytes raw = copy_.read(*it);
        if (raw[0] == page::data && DataPage::decode(raw).holdsLongValues())
            return *it;
    }
    return 0;
}

void LongValueWriter::newPage() {
    auto mapPage = [this] { return allocator_.allocate(); };
    if (maps_ && current_ != 0)
        maps_->withRoom.set(current_, false, mapPage);
    current_ = allocator_.allocate();
    copy_.write(current_, DataPage::empty(page::longValueOwner).encode());
    if (maps_) {
        maps_->owned.set(current_, true, mapPage);
        maps_->withRoom.set(current_, true, mapPage);
    }
}

RowPointer LongValueWriter::placeRow(Bytes bytes) {
    if (current_ == 0 || !DataPage::decode(copy_.read(current_)).hasRoomFor(bytes.size()))
        newPage();
    DataPage page = DataPage::decode(copy_.read(current_));
    std::uint8_t row = page.addRow(std::move(bytes));
    copy_.write(current_, page.encode());
    return {current_, row};
}

Bytes LongValueWriter::store(ByteView value, std::size_t roomInRow) {
    LongValueReference reference;
    reference.length = std::uint32_t(value.size());
    if (value.size() <= maxInlineSize && referenceSize + value.size() <= roomInRow) {
        reference.kind = LongValueReference::Kind::inline_;
        reference.inlineBytes = value.copy();
        return reference.encode();
    }
    if (value.size() <= maxRowSize) {
        reference.kind = LongValueReference::Kind::singleRow;
        reference.rowPointer = placeRow(value.copy()).stored();
        return reference.encode();
    }
    // The chain is laid from its end, so that each row knows where the next one is.
    reference.kind = LongValueReference::Kind::chained;
    constexpr std::size_t share = maxRowSize - chainPointerSize;
    std::size_t chunks = (value.size() + share - 1) / share;
    std::uint32_t next = 0;
    for (std::size_t i = chunks; i-- > 0;) {
        std::size_t from = i * share;
        std::size_t count = std::min(share, value.size() - from);
        Bytes row;
        appendU32(row, next);
        appendBytes(row, value.sub(from, count).span());
        next = placeRow(std::move(row)).stored();
    }
    reference.rowPointer = next;
    return reference.encode();
}

void LongValueWriter::remove(ByteView stored) {
    LongValueReference reference = LongValueReference::decode(stored);
    if (reference.kind == LongValueReference::Kind::inline_)
        return;
    constexpr std::size_t share = maxRowSize - chainPointerSize;
    std::size_t rowsLeft =
        reference.kind == LongValueReference::Kind::chained ? reference.length / share + 1 : 1;
    for (std::uint32_t next = reference.rowPointer; next != 0 && rowsLeft > 0; --rowsLeft) {
        RowPointer at = RowPointer::fromStored(next);
        DataPage page = DataPage::decode(copy_.read(at.page));
        if (!page.holdsLongValues() || at.row >= page.rows.size())
            throw FormatError("a long value points outside the rows of long values");
        DataRow& row = page.rows[at.row];
        next = reference.kind == LongValueReference::Kind::chained ? ByteView(row.bytes).u32(0) : 0;
        row.deleted = true;
        bool live = std::any_of(page.rows.begin(), page.rows.end(),
                                [](const DataRow& r) { return !r.deleted; });
        if (live) {
            copy_.write(at.page, page.encode());
            continue;
        }
        releasePage(at.page);
    }
}

void LongValueWriter::releasePage(PageNumber page) {
    auto mapPage = [this] { return allocator_.allocate(); };
    if (maps_) {
        maps_->owned.set(page, false, mapPage);
        maps_->withRoom.set(page, false, mapPage);
    }
    if (current_ == page)
        current_ = 0;
    allocator_.release(page);
}

} // namespace engine::jetfile

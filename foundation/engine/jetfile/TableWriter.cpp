#include "foundation/engine/jetfile/TableWriter.h"

#include "foundation/engine/jetfile/PageTypes.h"
#include "foundation/engine/jetfile/StoredRow.h"
#include "foundation/engine/jetfile/TablePages.h"

namespace engine::jetfile {

namespace {

constexpr std::size_t maxRowSize = 4060;
constexpr std::size_t overflowPointerSize = 4;

Bytes overflowPointer(RowPointer target, std::size_t slot) {
    Bytes bytes(slot);
    putU32(bytes, 0, target.stored());
    return bytes;
}

} // namespace

TableWriter::TableWriter(WorkingCopy& copy, PageAllocator& allocator, PageNumber definitionPage)
    : copy_(copy), allocator_(allocator), definition_(TableDefinition::read(copy, definitionPage)),
      ownedPages_(copy, definition_.usedPages), pagesWithRoom_(copy, definition_.freePages) {}

DataPage TableWriter::readPage(PageNumber page) const {
    DataPage decoded = DataPage::decode(copy_.read(page));
    if (decoded.owner != definition_.pages.front())
        throw FormatError("page " + std::to_string(page) + " is not a data page of the table");
    return decoded;
}

RowPointer TableWriter::place(Bytes bytes, bool deleted) {
    if (bytes.size() > maxRowSize)
        throw FormatError("a row of " + std::to_string(bytes.size()) + " bytes is too large");
    auto newPage = [this] { return allocator_.allocate(); };
    const std::set<PageNumber>& owned = ownedPages_.pages();
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        if (!pagesWithRoom_.contains(*it) || *it >= copy_.pageCount())
            continue;
        Bytes raw = copy_.read(*it);
        if (raw[0] != page::data)
            continue;
        DataPage page = DataPage::decode(raw);
        if (page.owner != definition_.pages.front())
            continue;
        if (page.hasRoomFor(bytes.size())) {
            std::uint8_t row = page.addRow(std::move(bytes), deleted);
            copy_.write(*it, page.encode());
            return {*it, row};
        }
        // Only the last page with room is tried, as Access does; a full one leaves the map.
        pagesWithRoom_.set(*it, false, newPage);
        break;
    }
    PageNumber number = allocator_.allocate();
    DataPage page = DataPage::empty(definition_.pages.front());
    std::uint8_t row = page.addRow(std::move(bytes), deleted);
    copy_.write(number, page.encode());
    ownedPages_.set(number, true, newPage);
    pagesWithRoom_.set(number, true, newPage);
    return {number, row};
}

RowPointer TableWriter::insert(const StoredRow& row) {
    RowPointer at = place(row.encode(), false);
    ++definition_.rowCount;
    return at;
}

void TableWriter::retire(RowPointer at) {
    DataPage page = readPage(at.page);
    // Both flags: readers that take the first for "deleted" and those that take the second.
    page.rows.at(at.row).deleted = true;
    page.rows.at(at.row).overflow = true;
    copy_.write(at.page, page.encode());
}

std::optional<RowPointer> TableWriter::movedTo(RowPointer at) const {
    DataPage page = readPage(at.page);
    if (at.row >= page.rows.size() || page.rows[at.row].deleted)
        throw FormatError("no row " + std::to_string(at.row) + " on page " +
                          std::to_string(at.page));
    if (!page.rows[at.row].overflow)
        return std::nullopt;
    return RowPointer::fromStored(ByteView(page.rows[at.row].bytes).u32(0));
}

void TableWriter::remove(RowPointer at) {
    // The moved bytes go too, or a reader walking the pages would find them.
    if (auto data = movedTo(at))
        retire(*data);
    retire(at);
    --definition_.rowCount;
}

void TableWriter::replace(RowPointer at, StoredRow row) {
    std::optional<RowPointer> moved = movedTo(at);
    RowPointer data = moved.value_or(at);
    DataPage header = readPage(at.page);
    DataPage target = data.page == at.page ? header : readPage(data.page);
    if (data.row >= target.rows.size())
        throw FormatError("overflow pointer past the rows of its page");
    std::size_t slot = target.rows[data.row].bytes.size();
    Bytes bytes = row.encode();
    if (bytes.size() < slot && row.hasVariableTable) {
        row.padding.resize(row.padding.size() + slot - bytes.size());
        bytes = row.encode();
    }
    if (bytes.size() == slot) {
        target.rows[data.row].bytes = std::move(bytes);
        copy_.write(data.page, target.encode());
        return;
    }
    std::size_t headerSlot = header.rows[at.row].bytes.size();
    if (headerSlot < overflowPointerSize)
        throw FormatError("a row too short to point to where it moved");
    RowPointer newPlace = place(std::move(bytes), true);
    if (moved)
        retire(*moved);
    // Placing may have changed the header's page; read it again.
    header = readPage(at.page);
    header.rows[at.row].bytes = overflowPointer(newPlace, headerSlot);
    header.rows[at.row].overflow = true;
    copy_.write(at.page, header.encode());
}

void TableWriter::saveDefinition() {
    writeDefinition(copy_, allocator_, definition_);
}

} // namespace engine::jetfile

#pragma once

// A page of an index B-tree: a node (type 0x03) or a leaf (type 0x04). Entries are packed
// from offset 0x1E0; a bitmap marks where each entry after the first begins. Every entry
// after the first leaves out the prefix it shares with the first entry of the page.
// A leaf entry is the key followed by the row's page (3 bytes, big-endian) and row number;
// a node entry adds the child page (4 bytes, big-endian) holding that entry as its last.

#include "foundation/engine/jetfile/Format.h"

namespace engine::jetfile {

struct IndexEntry {
    Bytes bytes; // the whole entry, prefix restored
};

struct IndexPage {
    bool leaf = true;
    std::uint16_t freeSpace = 0;
    std::uint32_t owner = 0; // the table definition page
    std::uint32_t reserved8 = 0;
    std::uint32_t previousPage = 0;
    std::uint32_t nextPage = 0;
    std::uint32_t tailPage = 0;
    std::uint16_t prefixLength = 0;
    std::uint8_t reserved26 = 0;
    std::vector<IndexEntry> entries;

    static IndexPage decode(ByteView page);
    Bytes encode() const;
    // The bytes after the last entry, which the format leaves undefined.
    std::pair<std::size_t, std::size_t> unusedArea() const;
};

// The parts of an entry.
struct EntryParts {
    ByteView key;
    std::uint32_t dataPage = 0;
    std::uint8_t dataRow = 0;
    std::uint32_t childPage = 0; // nodes only
};
EntryParts splitEntry(const IndexEntry& entry, bool leaf);

} // namespace engine::jetfile

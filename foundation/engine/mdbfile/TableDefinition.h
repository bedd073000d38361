#pragma once

// The table definition (TDEF) of an Access file: columns with their flags, numeric precision
// and scale, and the logical indexes (foreign keys among them) with the physical index behind
// each. libmdb keeps none of the flags and maps indexes by position, which goes wrong once a
// table's indexes were changed; so the definition is read here from the raw pages. Every read
// is bounds-checked: a damaged definition is an error, never a crash.

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace engine::mdbfile {

// A table definition that cannot be what it claims to be.
class DamagedFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace columnflag {
constexpr std::uint8_t fixedLength = 0x01;
constexpr std::uint8_t nullable = 0x02;
constexpr std::uint8_t autoNumber = 0x04;
} // namespace columnflag

namespace indexflag {
constexpr std::uint8_t unique = 0x01;
constexpr std::uint8_t ignoreNulls = 0x02;
constexpr std::uint8_t required = 0x08;
} // namespace indexflag

struct RawColumn {
    std::u16string name;
    int type = 0;
    int number = 0; // counts deleted columns too; index entries refer to it
    std::uint8_t flags = 0;
    bool compressedUnicode = false; // Jet 4 and later only
    int precision = 0;
    int scale = 0;
    std::uint32_t complexId = 0; // complex (attachment, multi-value) columns only
    int length = 0;              // in bytes
};

struct RawIndexColumn {
    int columnNumber = 0;
    bool ascending = true;
};

struct RawPhysicalIndex {
    std::vector<RawIndexColumn> columns;
    std::uint8_t flags = 0;
};

namespace indextype {
constexpr int normal = 0;
constexpr int primary = 1;
constexpr int foreign = 2;
} // namespace indextype

// The end of a relationship a foreign-key index is on. The engine lists only the
// referencing end's index; the referenced end's has a hidden name (".rB", ...).
namespace foreignside {
constexpr int referenced = 1;
constexpr int referencing = 2;
} // namespace foreignside

struct RawLogicalIndex {
    std::u16string name;
    int physical = 0; // position in TableDefinition::physical
    int type = indextype::normal;
    int foreignSide = 0; // foreign keys only
};

struct TableDefinition {
    std::vector<RawColumn> columns; // in definition order
    std::vector<RawPhysicalIndex> physical;
    std::vector<RawLogicalIndex> logical; // in definition order, as libmdb lists them
};

// Reads one page of the file into the buffer; false when there is no such page.
using PageReader = std::function<bool(std::uint32_t page, std::span<std::uint8_t> buffer)>;

// The definition's bytes: its first page whole, then each continuation page without its
// 8-byte header. Fails on a page of the wrong kind, a loop or an absurd length.
std::vector<std::uint8_t> readDefinitionPages(const PageReader& read, std::uint32_t firstPage,
                                              std::size_t pageSize);

// Decodes a name as stored (the file's code page in Jet 3, UCS-2 later).
using NameDecoder = std::function<std::u16string(std::span<const std::uint8_t> stored)>;

TableDefinition parseTableDefinition(std::span<const std::uint8_t> bytes, bool jet3,
                                     const NameDecoder& decodeName);

} // namespace engine::mdbfile

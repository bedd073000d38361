#pragma once

// An Access file opened read-only through libmdb: its pages, its object catalog with the
// properties Access stored for each object, and the rows of its system tables. libmdb trusts
// the file, so this is only ever used inside the reading child process (FileReader).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace engine::mdbfile {

// Named properties of an object or of one of its columns, as libmdb renders their values.
struct PropertyBlock {
    std::u16string name; // empty for the object itself, else the column's name
    std::map<std::u16string, std::string> values;
};

// One row of MSysObjects as libmdb's catalog sees it.
struct CatalogEntry {
    std::u16string name;
    std::uint32_t page = 0; // the object's id without its high byte: a table's definition page
    std::vector<PropertyBlock> properties;
};

// A value of a system table: text as libmdb renders it, or the bytes of a long binary.
struct Cell {
    bool null = true;
    std::string text;
    std::vector<std::uint8_t> bytes;
};

class LibmdbFile {
public:
    // Throws DamagedFile when libmdb cannot open the file or read its catalog.
    explicit LibmdbFile(const std::string& path);
    ~LibmdbFile();
    LibmdbFile(const LibmdbFile&) = delete;
    LibmdbFile& operator=(const LibmdbFile&) = delete;

    bool jet3() const;
    std::size_t pageSize() const;
    bool readPage(std::uint32_t page, std::span<std::uint8_t> buffer);
    std::u16string decodeName(std::span<const std::uint8_t> stored);

    const std::vector<CatalogEntry>& catalog() const { return catalog_; }
    const CatalogEntry* findTableEntry(std::u16string_view name, std::uint32_t page) const;

    // Whether the long binary values of a row are read, asked with the row's other values;
    // they stay null when not. Reading them costs a page or more each.
    using LongValueFilter = std::function<bool(const std::vector<Cell>& row)>;

    // The rows of a table, each with the named columns in that order; a column the table
    // lacks reads as null. Throws DamagedFile when the table cannot be read.
    std::vector<std::vector<Cell>> readRows(std::u16string_view table,
                                            const std::vector<std::string>& columns,
                                            const LongValueFilter& readLongValues = {});

private:
    struct Handle; // libmdb's handle, whose type cannot be declared ahead
    std::unique_ptr<Handle> handle_;
    std::vector<CatalogEntry> catalog_;
};

} // namespace engine::mdbfile

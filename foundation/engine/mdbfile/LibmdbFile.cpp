#include "foundation/engine/mdbfile/LibmdbFile.h"

#include "foundation/engine/mdbfile/TableDefinition.h"
#include "foundation/text/WideString.h"

// glib first: mdbtools.h includes it inside extern "C", which its C++ parts do not survive.
#include <glib.h>
#include <mdbtools.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace engine::mdbfile {

namespace {

// Longest text or memo value read from a system table (query texts can be long).
constexpr std::size_t bindSize = 256 * 1024;
// A table scan longer than this is taken for a loop in a damaged file.
constexpr std::size_t maxRows = 10'000'000;

std::u16string fromLibmdb(const char* text) {
    return text ? text::fromUtf8(text) : std::u16string();
}

struct TableDefFree {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

std::vector<PropertyBlock> copyProperties(const GPtrArray* blocks) {
    std::vector<PropertyBlock> result;
    if (!blocks)
        return result;
    for (guint i = 0; i < blocks->len; ++i) {
        auto* block = static_cast<MdbProperties*>(g_ptr_array_index(blocks, i));
        if (!block || !block->hash)
            continue;
        PropertyBlock copy;
        copy.name = fromLibmdb(block->name);
        GHashTableIter it;
        gpointer key, value;
        g_hash_table_iter_init(&it, block->hash);
        while (g_hash_table_iter_next(&it, &key, &value))
            copy.values[fromLibmdb(static_cast<const char*>(key))] =
                value ? static_cast<const char*>(value) : "";
        result.push_back(std::move(copy));
    }
    return result;
}

} // namespace

struct LibmdbFile::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle() {
        if (mdb)
            mdb_close(mdb);
    }
};

LibmdbFile::LibmdbFile(const std::string& path) : handle_(std::make_unique<Handle>()) {
    // Names must come out as UTF-8 whatever the environment asks of libmdb.
    unsetenv("MDBICONV");
    handle_->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    MdbHandle* mdb = handle_->mdb;
    if (!mdb)
        throw DamagedFile("libmdb cannot open the file");
    // libmdb reads the catalog into fixed buffers of its own: the larger bind size is for
    // the buffers of readRows only. Tables only: libmdb parses the stored properties of every
    // object it lists, and those of forms and reports cost a third of the read of a file that
    // has many.
    if (!mdb_read_catalog(mdb, MDB_TABLE) || mdb->num_catalog == 0)
        throw DamagedFile("no object catalog");
    mdb_set_bind_size(mdb, bindSize);
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE)
            continue;
        catalog_.push_back({fromLibmdb(entry->object_name), std::uint32_t(entry->table_pg),
                            copyProperties(entry->props)});
    }
}

LibmdbFile::~LibmdbFile() = default;

bool LibmdbFile::jet3() const {
    return handle_->mdb->f->jet_version == MDB_VER_JET3;
}

std::size_t LibmdbFile::pageSize() const {
    return std::size_t(handle_->mdb->fmt->pg_size);
}

bool LibmdbFile::readPage(std::uint32_t page, std::span<std::uint8_t> buffer) {
    MdbHandle* mdb = handle_->mdb;
    if (buffer.size() != pageSize() || mdb_read_pg(mdb, page) != mdb->fmt->pg_size)
        return false;
    std::memcpy(buffer.data(), mdb->pg_buf, buffer.size());
    return true;
}

std::u16string LibmdbFile::decodeName(std::span<const std::uint8_t> stored) {
    MdbHandle* mdb = handle_->mdb;
    // UTF-8 takes at most three bytes for a UTF-16 unit and for a byte of Jet 3 text.
    std::vector<char> out(stored.size() * 3 + 4);
    int length = mdb_unicode2ascii(mdb, reinterpret_cast<const char*>(stored.data()), stored.size(),
                                   out.data(), out.size());
    if (length < 0 || std::size_t(length) >= out.size())
        throw DamagedFile("name cannot be decoded");
    return text::fromUtf8(std::string_view(out.data(), std::size_t(length)));
}

const CatalogEntry* LibmdbFile::findTableEntry(std::u16string_view name, std::uint32_t page) const {
    for (const CatalogEntry& entry : catalog_)
        if (entry.page == page && entry.name == name)
            return &entry;
    return nullptr;
}

std::vector<std::vector<Cell>> LibmdbFile::readRows(std::u16string_view table,
                                                    const std::vector<std::string>& columns,
                                                    const LongValueFilter& readLongValues) {
    MdbHandle* mdb = handle_->mdb;
    MdbCatalogEntry* entry = nullptr;
    for (guint i = 0; i < mdb->num_catalog && !entry; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && fromLibmdb(e->object_name) == table)
            entry = e;
    }
    std::vector<std::vector<Cell>> rows;
    if (!entry)
        return rows;
    std::unique_ptr<MdbTableDef, TableDefFree> definition(mdb_read_table(entry));
    if (!definition || !mdb_read_columns(definition.get()))
        throw DamagedFile("system table cannot be read");

    std::vector<MdbColumn*> bound(columns.size(), nullptr);
    // Left uninitialised: libmdb writes each value with its terminator, and zeroing the
    // buffers would cost more than the reading.
    std::vector<std::unique_ptr<char[]>> buffers(columns.size());
    std::vector<int> lengths(columns.size(), 0);
    for (guint i = 0; i < definition->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(definition->columns, i));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (bound[c] || columns[c] != column->name)
                continue;
            bound[c] = column;
            buffers[c].reset(new char[bindSize + 1]);
            buffers[c][0] = '\0';
            mdb_bind_column(definition.get(), int(i + 1), buffers[c].get(), &lengths[c]);
        }
    }
    mdb_rewind_table(definition.get());
    while (mdb_fetch_row(definition.get())) {
        if (rows.size() == maxRows)
            throw DamagedFile("endless table");
        std::vector<Cell>& row = rows.emplace_back(columns.size());
        bool hasLongValues = false;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (!bound[c] || lengths[c] <= 0)
                continue;
            if (bound[c]->col_type == MDB_OLE) {
                hasLongValues = true;
                continue;
            }
            row[c].null = false;
            row[c].text.assign(buffers[c].get(), strnlen(buffers[c].get(), bindSize));
        }
        if (!hasLongValues || (readLongValues && !readLongValues(row)))
            continue;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (!bound[c] || lengths[c] <= 0 || bound[c]->col_type != MDB_OLE)
                continue;
            row[c].null = false;
            std::size_t size = 0;
            void* bytes = mdb_ole_read_full(mdb, bound[c], &size);
            if (bytes) {
                auto* begin = static_cast<const std::uint8_t*>(bytes);
                row[c].bytes.assign(begin, begin + size);
                std::free(bytes);
            }
        }
    }
    return rows;
}

} // namespace engine::mdbfile

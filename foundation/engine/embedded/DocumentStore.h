#pragma once

// The Access application's documents kept in an embedded database: forms, reports, macros and
// modules as the bytes of their text form, and the data macros of each local table. The bytes
// are kept exactly as given. MSysObjects lists what is here (see SystemObjects). The caller
// runs each change in a transaction.

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace engine::embedded {

class DocumentStore {
public:
    using Bytes = std::vector<std::uint8_t>;

    explicit DocumentStore(SqliteDatabase& db) : db_(db) {}

    // objectType is access::objectForm, objectReport, objectMacro or objectModule, or
    // objectTableDataMacro with the table's name. Each member throws
    // documentErrors::invalidObjectType() for any other type.

    // The stored bytes; nullopt when there is no such document (or the table has no data
    // macros).
    std::optional<Bytes> load(int objectType, std::u16string_view name);
    // Replaces the document, or makes it under a valid name. Data macros need an existing
    // local table: errors::tableNotFound and schemaErrors::linkedTable otherwise.
    void save(int objectType, std::u16string_view name, const Bytes& content);
    // Returns false when there was nothing to remove; data macros need an existing local table.
    bool remove(int objectType, std::u16string_view name);

private:
    // Throws unless a local table of the name exists: only those have data macros.
    void requireLocalTable(std::u16string_view table);

    SqliteDatabase& db_;
};

namespace documentErrors {
EngineError invalidObjectType();
EngineError objectNotFound(std::u16string_view name);
} // namespace documentErrors

} // namespace engine::embedded

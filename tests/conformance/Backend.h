#pragma once

// The databases a conformance file runs on: a fresh embedded database, or a copy of the
// empty Access file of one version. Each file gets its own database.

#include "foundation/engine/api/Ado.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace conformance {

class Backend {
public:
    virtual ~Backend() = default;
    virtual std::string name() const = 0;
    // Empty when the backend can run files here; else why not (every record is skipped).
    virtual std::string unavailableReason() = 0;
    // A new database at the path, open.
    virtual std::shared_ptr<engine::ado::Connection> create(const std::filesystem::path& path) = 0;
    // The database at the path opened again.
    std::shared_ptr<engine::ado::Connection> open(const std::filesystem::path& path);
};

// "embedded", "jet4" (a copy of emptyJet4.mdb) and "ace" (a copy of empty2010.accdb).
std::vector<std::unique_ptr<Backend>> allBackends(const std::filesystem::path& accessDataDir);

std::u16string connectionStringFor(const std::filesystem::path& path);

} // namespace conformance

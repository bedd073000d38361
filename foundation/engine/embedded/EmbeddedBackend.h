#pragma once

// The embedded engine: databases in SQLite files that carry the engine's application id.

#include "foundation/engine/api/Backend.h"

namespace engine::embedded {

class EmbeddedBackend : public Backend {
public:
    bool recognizes(std::span<const std::uint8_t> header) const override;
    // Opens read-only when the file cannot be written. Throws errors::notValidPassword() when
    // the database has a password and the parameters give another.
    std::shared_ptr<Session> open(const OpenParameters& parameters) override;
};

// Whether the file at the path is an embedded database (by its first bytes); false when it
// cannot be read.
bool isEmbeddedDatabase(const std::u16string& path);

// Makes a new database file at the path, with the password when one is given, and opens it.
// Throws EngineError "Database already exists." when there is a file at the path, and leaves
// no file behind when anything fails.
std::shared_ptr<Session> createDatabase(const OpenParameters& parameters);

} // namespace engine::embedded

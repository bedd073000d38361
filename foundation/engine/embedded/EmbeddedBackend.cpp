#include "foundation/engine/embedded/EmbeddedBackend.h"

#include "foundation/engine/embedded/EmbeddedSession.h"
#include "foundation/engine/embedded/Password.h"
#include "foundation/engine/embedded/SystemObjects.h"
#include "foundation/text/WideString.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace engine::embedded {

namespace {

namespace fs = std::filesystem;

bool writable(const fs::path& file) {
    // Probing with an open for update tells what permissions, ownership and read-only mounts
    // allow; nothing is written.
    std::FILE* probe = std::fopen(file.c_str(), "r+b");
    if (!probe)
        return false;
    std::fclose(probe);
    return true;
}

std::shared_ptr<Session> openSession(const OpenParameters& parameters, bool readOnly) {
    auto db = std::make_unique<SqliteDatabase>(parameters.path, readOnly, false);
    CatalogStore store(*db);
    store.checkFormat();
    checkPassword(store, parameters.databasePassword);
    protectSystemObjects(*db);
    db->exec("PRAGMA foreign_keys = ON");
    return std::make_shared<EmbeddedSession>(std::move(db));
}

} // namespace

bool EmbeddedBackend::recognizes(std::span<const std::uint8_t> header) const {
    static const char magic[] = "SQLite format 3";
    if (header.size() < 100 || std::memcmp(header.data(), magic, sizeof magic) != 0)
        return false;
    std::uint32_t id = std::uint32_t(header[68]) << 24 | std::uint32_t(header[69]) << 16 |
                       std::uint32_t(header[70]) << 8 | std::uint32_t(header[71]);
    return id == std::uint32_t(applicationId);
}

bool isEmbeddedDatabase(const std::u16string& path) {
    std::ifstream in(fs::path(text::toUtf8(path)), std::ios::binary);
    std::uint8_t header[100] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return in && EmbeddedBackend().recognizes(header);
}

std::shared_ptr<Session> EmbeddedBackend::open(const OpenParameters& parameters) {
    fs::path file(text::toUtf8(parameters.path));
    return openSession(parameters, !writable(file));
}

std::shared_ptr<Session> createDatabase(const OpenParameters& parameters) {
    fs::path file(text::toUtf8(parameters.path));
    std::error_code error;
    if (fs::exists(file, error))
        throw EngineError(status::unspecified, u"Database already exists.");
    fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    if (parameters.path.empty() || !fs::is_directory(folder, error))
        throw EngineError(status::unspecified,
                          u"'" + parameters.path +
                              u"' is not a valid path. Make sure that the path name is spelled "
                              u"correctly and that you are connected to the server on which the "
                              u"file resides.");
    // "x": the file is made here or not at all, never over one that appeared meanwhile.
    std::FILE* made = std::fopen(file.c_str(), "wbx");
    if (!made)
        throw EngineError(status::unspecified, u"Database already exists.");
    std::fclose(made);
    try {
        {
            SqliteDatabase db(parameters.path, false, false);
            SqliteTransaction transaction(db);
            CatalogStore store(db);
            store.create();
            setPassword(store, parameters.databasePassword);
            transaction.commit();
        }
        return openSession(parameters, false);
    } catch (...) {
        fs::remove(file, error);
        throw;
    }
}

} // namespace engine::embedded

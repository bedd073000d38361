#pragma once

// Real Access files (.mdb of Jet 3 and Jet 4, .accdb of ACE), read only, through libmdb. The
// whole schema is read at the first open, in a child process with a time limit: libmdb may
// crash or loop on a damaged file, and then the open fails with "Unrecognized database format"
// instead. Later opens of the unchanged file take what that read gave. The file is only ever
// opened for reading; AccessFileBackend, which the engine lists, uses this one as its reader and
// for the files the page store does not write.

#include "foundation/engine/api/Backend.h"
#include "foundation/engine/mdbfile/ReadCache.h"

#include <chrono>

namespace engine::mdbfile {

class MdbFileBackend : public Backend {
public:
    // Far more than the schema of any sound file takes to read.
    static constexpr std::chrono::milliseconds defaultReadLimit{30'000};

    explicit MdbFileBackend(std::chrono::milliseconds readLimit = defaultReadLimit);

    // "Standard Jet DB" or "Standard ACE DB" after the first four bytes.
    bool recognizes(std::span<const std::uint8_t> header) const override;
    // Throws errors::fileNotFound, errors::unrecognizedFormat, or the engine's error for a
    // file it may not read.
    std::shared_ptr<Session> open(const OpenParameters& parameters) override;

    // What reading the file gives (remembered while the file is unchanged); throws as open().
    std::shared_ptr<const FileSnapshot> snapshotOf(const std::u16string& path);

private:
    std::chrono::milliseconds readLimit_;
    ReadCache reads_;
};

} // namespace engine::mdbfile

#pragma once

// Access files, writable where the page store can write them: a Jet 4 or ACE file opens as an
// AccessFileSession, a Jet 3 file read only as before (MdbFileBackend). Encrypted files and
// files this user may not write open too and refuse their first change as read only.

#include "foundation/engine/mdbfile/MdbFileBackend.h"
#include "foundation/engine/mdbfile/SharedFile.h"

namespace engine::mdbfile {

class AccessFileBackend : public Backend {
public:
    explicit AccessFileBackend(
        std::chrono::milliseconds readLimit = MdbFileBackend::defaultReadLimit);

    bool recognizes(std::span<const std::uint8_t> header) const override;
    std::shared_ptr<Session> open(const OpenParameters& parameters) override;

private:
    std::chrono::milliseconds readLimit_;
    MdbFileBackend reader_;
    SharedFiles files_;
};

} // namespace engine::mdbfile

#include "foundation/engine/mdbfile/MdbFileBackend.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/mdbfile/IsolatedRead.h"
#include "foundation/engine/mdbfile/MdbFileSession.h"
#include "foundation/engine/mdbfile/ReadCache.h"
#include "foundation/text/WideString.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace engine::mdbfile {

namespace {

constexpr std::size_t signatureOffset = 4;
constexpr std::string_view jetSignature("Standard Jet DB\0", 16);
constexpr std::string_view aceSignature("Standard ACE DB\0", 16);

EngineError cannotOpen(std::u16string_view path) {
    return {status::unspecified,
            u"The database engine cannot open the file '" + std::u16string(path) +
                u"'. It is already opened exclusively by another user, or you need "
                u"permission to view its data."};
}

// The file's first bytes and its identity.
struct OpenedFile {
    std::vector<std::uint8_t> header;
    FileIdentity identity;
};

// Throws the engine's error for a file that is missing or unreadable.
OpenedFile inspect(const std::string& path, std::u16string_view shownPath) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw errno == EACCES ? cannotOpen(shownPath) : errors::fileNotFound(shownPath);
    if (!S_ISREG(info.st_mode))
        throw errors::unrecognizedFormat(shownPath);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw cannotOpen(shownPath);
    OpenedFile file;
    file.header.resize(64);
    ssize_t n = ::read(fd, file.header.data(), file.header.size());
    file.header.resize(n > 0 ? std::size_t(n) : 0);
    std::optional<FileIdentity> identity = identityOf(fd, path);
    ::close(fd);
    if (!identity)
        throw cannotOpen(shownPath);
    file.identity = *identity;
    return file;
}

} // namespace

MdbFileBackend::MdbFileBackend(std::chrono::milliseconds readLimit) : readLimit_(readLimit) {}

bool MdbFileBackend::recognizes(std::span<const std::uint8_t> header) const {
    if (header.size() < signatureOffset + jetSignature.size())
        return false;
    std::string_view signature(reinterpret_cast<const char*>(header.data()) + signatureOffset,
                               jetSignature.size());
    return signature == jetSignature || signature == aceSignature;
}

std::shared_ptr<Session> MdbFileBackend::open(const OpenParameters& parameters) {
    return std::make_shared<MdbFileSession>(snapshotOf(parameters.path));
}

std::shared_ptr<const FileSnapshot> MdbFileBackend::snapshotOf(const std::u16string& shownPath) {
    std::string path = text::toUtf8(shownPath);
    OpenedFile file = inspect(path, shownPath);
    if (!recognizes(file.header))
        throw errors::unrecognizedFormat(shownPath);
    ReadCache::Result snapshot;
    if (std::optional<ReadCache::Result> known = reads_.find(file.identity)) {
        snapshot = *known;
    } else {
        bool timedOut = false;
        snapshot = readIsolated(path, readLimit_, timedOut);
        // A file that changed while it was read may have been read half old, half new.
        if (identityOf(path) == file.identity) {
            // A time-out may come of a busy machine: it holds for the opens that follow at
            // once, not for a later attempt.
            reads_.remember(file.identity, snapshot,
                            timedOut ? ReadCache::Clock::now() + readLimit_
                                     : ReadCache::Clock::time_point::max());
        }
    }
    if (!snapshot)
        throw errors::unrecognizedFormat(shownPath);
    return snapshot;
}

} // namespace engine::mdbfile

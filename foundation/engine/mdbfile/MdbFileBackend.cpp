#include "foundation/engine/mdbfile/MdbFileBackend.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/mdbfile/FileReader.h"
#include "foundation/engine/mdbfile/IsolatedRun.h"
#include "foundation/engine/mdbfile/MdbFileSession.h"
#include "foundation/engine/mdbfile/SnapshotCodec.h"
#include "foundation/engine/mdbfile/TableDefinition.h"
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

// The file's first bytes; throws the engine's error for a file that is missing or unreadable.
std::vector<std::uint8_t> readHeader(const std::string& path, std::u16string_view shownPath) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw errno == EACCES ? cannotOpen(shownPath) : errors::fileNotFound(shownPath);
    if (!S_ISREG(info.st_mode))
        throw errors::unrecognizedFormat(shownPath);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw cannotOpen(shownPath);
    std::vector<std::uint8_t> header(64);
    ssize_t n = ::read(fd, header.data(), header.size());
    ::close(fd);
    header.resize(n > 0 ? std::size_t(n) : 0);
    return header;
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
    std::string path = text::toUtf8(parameters.path);
    if (!recognizes(readHeader(path, parameters.path)))
        throw errors::unrecognizedFormat(parameters.path);
    IsolatedResult read =
        runIsolated([&] { return encodeSnapshot(readAccessFile(path)); }, readLimit_);
    if (read.outcome != IsolatedOutcome::Completed)
        throw errors::unrecognizedFormat(parameters.path);
    try {
        return std::make_shared<MdbFileSession>(
            std::make_shared<const FileSnapshot>(decodeSnapshot(read.bytes)));
    } catch (const DamagedFile&) {
        throw errors::unrecognizedFormat(parameters.path);
    }
}

} // namespace engine::mdbfile

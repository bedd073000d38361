#include "foundation/engine/Backends.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/EmbeddedBackend.h"
#include "foundation/engine/mdbfile/AccessFileBackend.h"
#include "foundation/text/WideString.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

namespace engine {

namespace {

namespace fs = std::filesystem;

fs::path fileSystemPath(const std::u16string& path) {
    return fs::path(text::toUtf8(path));
}

std::vector<std::uint8_t> readHeader(const std::u16string& path) {
    std::error_code error;
    fs::path file = fileSystemPath(path);
    if (path.empty() || !fs::exists(file, error))
        throw errors::fileNotFound(path);
    if (!fs::is_regular_file(file, error))
        throw errors::unrecognizedFormat(path);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw EngineError(status::unspecified,
                          u"The database engine cannot open the file '" + path +
                              u"'. It is already opened exclusively by another user, or you "
                              u"need permission to view its data.");
    std::vector<std::uint8_t> header(4096);
    in.read(reinterpret_cast<char*>(header.data()), std::streamsize(header.size()));
    header.resize(std::size_t(in.gcount()));
    return header;
}

// The engines have no users of their own: without a workgroup file only the default user
// "Admin" with an empty password gets in.
void checkAccount(const OpenParameters& parameters) {
    if (!parameters.systemDatabase.empty()) {
        std::error_code error;
        if (!fs::is_regular_file(fileSystemPath(parameters.systemDatabase), error))
            throw errors::fileNotFound(parameters.systemDatabase);
        return;
    }
    bool defaultUser = parameters.userId.empty() || text::equalsNoCase(parameters.userId, u"Admin");
    if (!defaultUser || !parameters.userPassword.empty())
        throw EngineError(status::authentication, u"Not a valid account name or password.");
}

} // namespace

std::span<const std::shared_ptr<Backend>> backends() {
    static const std::array<std::shared_ptr<Backend>, 2> list = {
        std::make_shared<embedded::EmbeddedBackend>(),
        std::make_shared<mdbfile::AccessFileBackend>(),
    };
    return list;
}

std::shared_ptr<Session> openDatabase(const OpenParameters& parameters) {
    std::vector<std::uint8_t> header = readHeader(parameters.path);
    checkAccount(parameters);
    for (const auto& backend : backends())
        if (backend->recognizes(header))
            return backend->open(parameters);
    throw errors::unrecognizedFormat(parameters.path);
}

std::shared_ptr<Session> createDatabase(const OpenParameters& parameters) {
    return embedded::createDatabase(parameters);
}

} // namespace engine

#include "foundation/settings/RegistryKey.h"

#include "foundation/platform/AtomicFile.h"
#include "foundation/platform/FileLock.h"
#include "foundation/platform/PrivateFiles.h"
#include "foundation/platform/UserDirectories.h"

#include <fstream>
#include <iterator>

namespace settings {

namespace {

// Far beyond any settings file; a larger one is not ours to load or rewrite.
constexpr std::uintmax_t kMaxFileSize = 16u << 20;

enum class ReadStatus { Read, Missing, Unreadable };

ReadStatus readFile(const std::filesystem::path& path, std::string& bytes) {
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return ReadStatus::Missing;
    if (ec || status.type() != std::filesystem::file_type::regular ||
        std::filesystem::file_size(path, ec) > kMaxFileSize || ec)
        return ReadStatus::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ReadStatus::Unreadable;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? ReadStatus::Unreadable : ReadStatus::Read;
}

std::u16string fullKey(std::u16string_view subKey) {
    return u"HKEY_CURRENT_USER\\" + std::u16string(subKey);
}

} // namespace

RegistryKey::RegistryKey(std::filesystem::path file, std::u16string key, RegistryDocument document)
    : file_(std::move(file)), key_(std::move(key)), document_(std::move(document)) {}

std::optional<std::filesystem::path> RegistryKey::storePath() {
    auto config = platform::configHome();
    if (!config)
        return std::nullopt;
    return *config / "kelvor" / "registry.reg";
}

std::optional<RegistryKey> RegistryKey::open(std::u16string_view subKey) {
    auto path = storePath();
    std::string bytes;
    if (!path || readFile(*path, bytes) != ReadStatus::Read)
        return std::nullopt;
    RegistryDocument document(bytes);
    if (!document.hasKey(fullKey(subKey)))
        return std::nullopt;
    return RegistryKey(*path, fullKey(subKey), std::move(document));
}

std::optional<RegistryKey> RegistryKey::create(std::u16string_view subKey) {
    auto path = storePath();
    if (!path || !platform::makePrivateDirectories(path->parent_path()))
        return std::nullopt;
    return RegistryKey(*path, fullKey(subKey), RegistryDocument());
}

std::optional<std::uint32_t> RegistryKey::readDword(std::u16string_view name) const {
    auto value = document_.value(key_, name);
    if (!value || !std::holds_alternative<std::uint32_t>(*value))
        return std::nullopt;
    return std::get<std::uint32_t>(*value);
}

std::optional<std::u16string> RegistryKey::readString(std::u16string_view name,
                                                      std::size_t maxBytes) const {
    auto value = document_.value(key_, name);
    if (!value || !std::holds_alternative<std::u16string>(*value))
        return std::nullopt;
    auto& s = std::get<std::u16string>(*value);
    if (2 * s.size() + 2 > maxBytes)
        return std::nullopt;
    return s;
}

bool RegistryKey::writeDword(std::u16string_view name, std::uint32_t value) {
    return write(name, value);
}

bool RegistryKey::writeString(std::u16string_view name, std::u16string_view value) {
    return write(name, std::u16string(value));
}

bool RegistryKey::write(std::u16string_view name, const RegistryValue& value) {
    platform::FileLock lock(file_.string() + ".lock");
    if (!lock.locked())
        return false;
    std::string bytes;
    ReadStatus status = readFile(file_, bytes);
    if (status == ReadStatus::Unreadable)
        return false;
    RegistryDocument document =
        status == ReadStatus::Read ? RegistryDocument(bytes) : RegistryDocument();
    document.setValue(key_, name, value);
    if (!platform::replaceFileAtomically(file_, document.bytes()))
        return false;
    document_ = std::move(document);
    return true;
}

} // namespace settings

#include "foundation/platform/UserDirectories.h"

#include "foundation/text/WideString.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace {

std::optional<std::filesystem::path> homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::filesystem::path(home);
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return std::filesystem::path(entry->pw_dir);
    return std::nullopt;
}

// The XDG rule: a relative value is ignored.
std::optional<std::filesystem::path> xdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return std::filesystem::path(value);
    if (auto home = homeFolder())
        return *home / fallback;
    return std::nullopt;
}

} // namespace

std::optional<std::filesystem::path> configHome() {
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

std::optional<std::filesystem::path> dataHome() {
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

std::u16string tempDirectory() {
    const char* value = std::getenv("TMPDIR");
    std::string dir = value && *value ? value : "/tmp";
    if (dir.back() != '/')
        dir.push_back('/');
    return text::fromUtf8(dir);
}

} // namespace platform

#include "foundation/platform/PrivateFiles.h"

#include "foundation/text/WideString.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool makePrivateDirectories(const std::filesystem::path& folder) {
    std::filesystem::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// O_EXCL with O_CREAT never follows a symbolic link, dangling or not.
int createExclusive(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

std::u16string hex4(unsigned value) {
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::u16string out(4, u'0');
    for (int i = 3; i >= 0; --i, value >>= 4)
        out[i] = digits[value & 0xF];
    return out;
}

} // namespace

bool createPrivateFile(std::u16string_view path) {
    int fd = createExclusive(text::toUtf8(path));
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::optional<std::u16string> createUniqueTempFile(std::u16string_view folder,
                                                   std::u16string_view prefix) {
    std::u16string base(folder);
    if (!base.empty() && base.back() != u'/')
        base.push_back(u'/');
    base += prefix.substr(0, 3);
    // Like Windows: start anywhere, then count up through the 65535 non-zero numbers.
    unsigned start = std::random_device()() & 0xFFFF;
    for (unsigned i = 0; i < 0xFFFF; ++i) {
        unsigned number = (start + i) % 0xFFFF + 1;
        std::u16string path = base + hex4(number) + u".TMP";
        int fd = createExclusive(text::toUtf8(path));
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

std::FILE* openPrivateFile(const char* nativePath) {
    // Non-blocking so that a FIFO planted at the path cannot hang the open.
    int fd = ::open(nativePath, O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0)
        return nullptr;
    struct stat st;
    bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                st.st_nlink == 1;
    if (!ours || ::fchmod(fd, 0600) != 0 || ::ftruncate(fd, 0) != 0 ||
        ::fcntl(fd, F_SETFL, O_WRONLY) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file)
        ::close(fd);
    return file;
}

} // namespace platform

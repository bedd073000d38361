#include "foundation/platform/FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::optional<FileStamp> fileStamp(const std::filesystem::path& file) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    FileStamp stamp;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && ::pread(fd, stamp.head.data(), stamp.head.size(), 0) >= 0;
    ::close(fd);
    if (!ok)
        return std::nullopt;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedSeconds = st.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = st.st_mtim.tv_nsec;
    return stamp;
}

} // namespace platform

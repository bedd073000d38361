#include "foundation/platform/DatabaseLock.h"

#include "foundation/platform/LockProbe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

DatabaseLock::DatabaseLock(const std::filesystem::path& lockFile) : path_(lockFile) {
    // Byte-range locks of other engines count as held too.
    if (lockedByAnotherProgram(lockFile))
        return;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        bool made = fd >= 0;
        if (!made)
            fd = ::open(lockFile.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return;
        }
        // A holder that released the lock may have removed the file meanwhile: the lock
        // counts only on the file that still has the name.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(lockFile.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            fd_ = fd;
            made_ = made;
            return;
        }
        ::close(fd);
    }
}

DatabaseLock::~DatabaseLock() {
    if (fd_ < 0)
        return;
    if (made_)
        ::unlink(path_.c_str());
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

} // namespace platform

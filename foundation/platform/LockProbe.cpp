#include "foundation/platform/LockProbe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

bool lockedByAnotherProgram(const std::filesystem::path& file) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    // Both kinds of lock count: whole-file flock and the byte-range locks engines take.
    bool locked = false;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        locked = true;
    else
        ::flock(fd, LOCK_UN);
    struct flock probe = {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    if (!locked && ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
        locked = true;
    ::close(fd);
    return locked;
}

} // namespace platform

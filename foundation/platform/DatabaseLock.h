#pragma once

// The lock file a program holds beside a database while it changes it (.ldb for .mdb,
// .laccdb for .accdb), as the Access engine does: taken without waiting, so that a second
// writer is refused instead of one's changes being replaced by the other's. The file is
// removed on release when this lock made it.

#include <filesystem>

namespace platform {

class DatabaseLock {
public:
    // Not held when another program holds the lock file or it cannot be made.
    explicit DatabaseLock(const std::filesystem::path& lockFile);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    std::filesystem::path path_;
    int fd_ = -1;
    bool made_ = false;
};

} // namespace platform

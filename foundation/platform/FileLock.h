#pragma once

// An advisory lock that serialises writers of one file across processes: flock on a
// separate lock file, which is never deleted (deleting it would let two writers hold
// locks on different files). Readers need no lock when writers replace files atomically.

#include <filesystem>

namespace platform {

class FileLock {
public:
    // Creates the lock file when missing (mode 0600) and waits for the exclusive lock.
    explicit FileLock(const std::filesystem::path& lockFile);
    // Releases the lock.
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace platform

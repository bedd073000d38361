#pragma once

// What reading an Access file gave, remembered by the file's identity. One comparison opens a
// database several times (ADO, a provider fallback, DAO): the file is read, in its child
// process, once, and a damaged file makes the user wait for the time limit once, not at every
// open. A file that changed since is a different file and is read again.

#include "foundation/engine/mdbfile/FileSnapshot.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace engine::mdbfile {

// Where a file is and which version of it: equal identities mean the same bytes, for a file
// that is changed only by writes.
struct FileIdentity {
    std::string path;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file open as fd, known by path; nullopt when it cannot be told.
std::optional<FileIdentity> identityOf(int fd, const std::string& path);
std::optional<FileIdentity> identityOf(const std::string& path);

class ReadCache {
public:
    using Clock = std::chrono::steady_clock;
    // The snapshot is null for a file that could not be read.
    using Result = std::shared_ptr<const FileSnapshot>;

    static constexpr std::size_t capacity = 16;

    // The remembered result for the file; nullopt when there is none (or it has expired).
    std::optional<Result> find(const FileIdentity& file);
    // Remembers the result until the time given (the newest results are kept).
    void remember(const FileIdentity& file, Result result,
                  Clock::time_point until = Clock::time_point::max());

private:
    struct Entry {
        FileIdentity file;
        Result result;
        Clock::time_point until;
    };

    std::mutex mutex_;
    std::deque<Entry> entries_; // newest first
};

} // namespace engine::mdbfile

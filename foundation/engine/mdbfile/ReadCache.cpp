#include "foundation/engine/mdbfile/ReadCache.h"

#include <sys/stat.h>

namespace engine::mdbfile {

namespace {

std::int64_t nanoseconds(const timespec& time) {
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileIdentity identityFrom(const struct stat& info, const std::string& path) {
    return {path,
            std::uint64_t(info.st_dev),
            std::uint64_t(info.st_ino),
            std::int64_t(info.st_size),
            nanoseconds(info.st_mtim),
            nanoseconds(info.st_ctim)};
}

} // namespace

std::optional<FileIdentity> identityOf(int fd, const std::string& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return identityFrom(info, path);
}

std::optional<FileIdentity> identityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return identityFrom(info, path);
}

std::optional<ReadCache::Result> ReadCache::find(const FileIdentity& file) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (!(it->file == file))
            continue;
        if (Clock::now() >= it->until) {
            entries_.erase(it);
            return std::nullopt;
        }
        return it->result;
    }
    return std::nullopt;
}

void ReadCache::remember(const FileIdentity& file, Result result, Clock::time_point until) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& entry) { return entry.file == file; });
    entries_.push_front({file, std::move(result), until});
    if (entries_.size() > capacity)
        entries_.pop_back();
}

} // namespace engine::mdbfile

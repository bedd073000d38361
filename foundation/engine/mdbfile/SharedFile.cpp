#include "foundation/engine/mdbfile/SharedFile.h"

#include "foundation/text/WideString.h"

#include <filesystem>

namespace engine::mdbfile {

namespace {

// One key for the names a file goes by.
std::u16string keyOf(const std::u16string& path) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(text::toUtf8(path), error);
    return error ? path : text::fromUtf8(canonical.string());
}

} // namespace

std::shared_ptr<SharedFile> SharedFiles::attach(const std::u16string& path,
                                                std::shared_ptr<const FileSnapshot> snapshot) {
    std::lock_guard lock(mutex_);
    std::erase_if(files_, [](const auto& entry) { return entry.second.expired(); });
    std::weak_ptr<SharedFile>& entry = files_[keyOf(path)];
    std::shared_ptr<SharedFile> file = entry.lock();
    if (!file || file->openSessions == 0) {
        file = std::make_shared<SharedFile>();
        file->path = path;
        file->snapshot = std::move(snapshot);
        entry = file;
    } else if (!file->changed) {
        file->snapshot = std::move(snapshot); // the fresher read of the same bytes, or newer ones
    }
    ++file->openSessions;
    return file;
}

} // namespace engine::mdbfile

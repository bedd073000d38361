#pragma once

// A file of this process for fuzz inputs that only a path can take: rewritten for every
// input, removed when the process ends.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace fuzz {

class ScratchFile {
public:
    explicit ScratchFile(std::string_view suffix)
        : path_(std::filesystem::temp_directory_path() /
                ("kel-fuzz-" + std::to_string(getpid()) + std::string(suffix))) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& write(const void* data, std::size_t size) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(data), std::streamsize(size));
        return path_;
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace fuzz

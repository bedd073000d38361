#pragma once

// What changes whenever a program writes a file: its identity, size, modification time and
// first bytes (an SQLite database counts its commits there, so two commits within one tick
// of the clock still differ). Equal stamps taken before and after a read mean that no write
// ended while the file was read.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::array<unsigned char, 100> head{};

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// None when the file cannot be examined.
std::optional<FileStamp> fileStamp(const std::filesystem::path& file);

} // namespace platform

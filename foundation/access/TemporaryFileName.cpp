#include "foundation/access/TemporaryFileName.h"

#include "foundation/platform/UserDirectories.h"
#include "foundation/text/WideString.h"

#include <filesystem>
#include <random>

namespace automation {

namespace {

std::u16string newGuidDigits() {
    static const char16_t digits[] = u"0123456789ABCDEF";
    thread_local std::random_device device;
    std::u16string text;
    for (int word = 0; word < 4; ++word) {
        std::uint32_t bits = device();
        for (int i = 0; i < 8; ++i, bits >>= 4)
            text += digits[bits & 0xF];
    }
    return text;
}

bool isTaken(const std::u16string& path) {
    std::error_code error;
    auto status = std::filesystem::symlink_status(text::toUtf8(path), error);
    // A name that cannot even be looked at counts as taken.
    return error ? error != std::errc::no_such_file_or_directory
                 : status.type() != std::filesystem::file_type::not_found;
}

} // namespace

std::u16string temporaryFileName(std::u16string_view prefix) {
    std::u16string folder = platform::tempDirectory();
    for (;;) {
        std::u16string path = folder + std::u16string(prefix) + newGuidDigits() + u".tmp";
        if (!isTaken(path))
            return path;
    }
}

} // namespace automation

#include "foundation/engine/automation/DocumentFiles.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/platform/PrivateFiles.h"
#include "foundation/text/WideString.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace engine::inprocess {

namespace {

EngineError cannotWrite() {
    return {status::unspecified,
            u"The application can't save the output data to the file you've selected."};
}

} // namespace

void writeDocumentFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
    std::string native = text::toUtf8(path);
    std::FILE* file = platform::openPrivateFile(native.c_str());
    if (!file)
        throw cannotWrite();
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        // A part of a document is worse than none: the reader takes whatever file it finds.
        std::error_code ignored;
        std::filesystem::remove(native, ignored);
        throw cannotWrite();
    }
}

std::vector<std::uint8_t> readDocumentFile(const std::u16string& path) {
    std::filesystem::path native(text::toUtf8(path));
    std::error_code error;
    if (!std::filesystem::is_regular_file(native, error))
        throw errors::fileNotFound(path);
    std::ifstream in(native, std::ios::binary | std::ios::ate);
    std::streamoff size = in ? std::streamoff(in.tellg()) : -1;
    if (size < 0 || !in.seekg(0))
        throw EngineError(status::unspecified, u"The file '" + path + u"' cannot be opened.");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.gcount() != size)
        throw EngineError(status::unspecified, u"Disk or network error.");
    return bytes;
}

} // namespace engine::inprocess

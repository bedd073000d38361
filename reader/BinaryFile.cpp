#include "reader/BinaryFile.h"

#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"

#include <cstdio>
#include <filesystem>
#include <new>

namespace reader {

namespace {

// Closes the stream on every path out of read().
struct FileCloser {
    std::FILE* file;
    ~FileCloser() {
        if (file)
            std::fclose(file);
    }
    bool close() {
        bool closed = std::fclose(file) == 0;
        file = nullptr;
        return closed;
    }
};

long lengthOf(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    long length = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return -1;
    return length;
}

} // namespace

void BinaryFile::read(const std::u16string& path) {
    data_ = Bytes();
    std::string nativePath = text::toUtf8(path);
    // Only a regular file has a length to read; a folder opens too but holds no bytes.
    std::error_code error;
    if (!std::filesystem::is_regular_file(nativePath, error))
        throw text::IOException(u"Can't open file");
    FileCloser file{std::fopen(nativePath.c_str(), "rb")};
    if (!file.file)
        throw text::IOException(u"Can't open file");
    long length = lengthOf(file.file);
    if (length < 0)
        throw text::IOException(u"Can't read all file");
    if (length == 0)
        return;

    Bytes bytes;
    try {
        bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        throw text::IOException(u"Can't allocate memory");
    } catch (const std::length_error&) {
        throw text::IOException(u"Can't allocate memory");
    }
    std::size_t count = std::fread(bytes.data(), 1, bytes.size(), file.file);
    if (!file.close())
        throw text::IOException(u"Can't close file");
    if (count < bytes.size())
        throw text::IOException(u"Can't read all file");
    data_ = std::move(bytes);
}

} // namespace reader

#include "foundation/text/OutputFile.h"

#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"

#include <filesystem>

#include <unistd.h>

namespace text {

OutputFile::OutputFile(std::u16string path, OutputFileOptions options)
    : path_(std::move(path)), options_(options) {}

OutputFile::~OutputFile() {
    if (options_.replaceAtClose)
        discard();
    else
        close();
}

std::string OutputFile::writtenPath() const {
    std::string nativePath = toUtf8(path_);
    return options_.replaceAtClose ? nativePath + ".partial" : nativePath;
}

void OutputFile::open() {
    close();
    std::string nativePath = writtenPath();
    handle_ = options_.opener ? options_.opener(nativePath.c_str())
                              : std::fopen(nativePath.c_str(), "wb");
    if (!handle_)
        fail(u"create");
}

void OutputFile::write(const void* bytes, std::size_t count) {
    if (count == 0)
        return;
    // Flushing at once makes a full disk fail this write instead of a close that callers
    // do not check.
    if (!handle_ || std::fwrite(bytes, 1, count, handle_) != count || std::fflush(handle_) != 0) {
        if (options_.replaceAtClose)
            discard();
        else
            close();
        fail(u"write");
    }
}

bool OutputFile::close() {
    if (!handle_)
        return false;
    if (!options_.replaceAtClose) {
        bool closed = std::fclose(handle_) == 0;
        handle_ = nullptr;
        return closed;
    }
    // The new file reaches the disk before it takes the old one's name.
    bool written = std::fflush(handle_) == 0 && fsync(fileno(handle_)) == 0;
    bool closed = std::fclose(handle_) == 0;
    handle_ = nullptr;
    std::filesystem::path partial = writtenPath();
    std::filesystem::path target = toUtf8(path_);
    std::error_code error;
    auto existing = std::filesystem::status(target, error);
    if (!error && std::filesystem::is_regular_file(existing))
        std::filesystem::permissions(partial, existing.permissions(), error);
    if (written && closed && std::rename(partial.c_str(), target.c_str()) == 0)
        return true;
    std::filesystem::remove(partial, error);
    return false;
}

void OutputFile::discard() {
    if (!handle_)
        return;
    std::fclose(handle_);
    handle_ = nullptr;
    std::error_code ignored;
    std::filesystem::remove(writtenPath(), ignored);
}

void OutputFile::fail(std::u16string_view what) const {
    std::u16string message = u"Can't " + std::u16string(what) + u" file";
    if (options_.messages == FileMessages::WithPath)
        throw IOException(message + u":\n" + path_);
    throw IOException(message + u".");
}

} // namespace text

#include "foundation/text/OutputFile.h"

#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"

namespace text {

OutputFile::OutputFile(std::u16string path, OutputFileOptions options)
    : path_(std::move(path)), options_(options) {}

OutputFile::~OutputFile() {
    close();
}

void OutputFile::open() {
    close();
    std::string nativePath = toUtf8(path_);
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
        close();
        fail(u"write");
    }
}

bool OutputFile::close() {
    if (!handle_)
        return false;
    bool closed = std::fclose(handle_) == 0;
    handle_ = nullptr;
    return closed;
}

void OutputFile::fail(std::u16string_view what) const {
    std::u16string message = u"Can't " + std::u16string(what) + u" file";
    if (options_.messages == FileMessages::WithPath)
        throw IOException(message + u":\n" + path_);
    throw IOException(message + u".");
}

} // namespace text

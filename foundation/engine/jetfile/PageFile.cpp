#include "foundation/engine/jetfile/PageFile.h"

namespace engine::jetfile {

PageFile::PageFile(const std::filesystem::path& path) : in_(path, std::ios::binary) {
    if (!in_)
        throw FormatError("cannot open " + path.string());
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size % pageSize != 0 || size / pageSize > 0xFFFFFF)
        throw FormatError(path.string() + " is not a whole number of pages");
    pageCount_ = PageNumber(size / pageSize);
    header_ = HeaderPage::decode(read(0));
}

Bytes PageFile::read(PageNumber page) const {
    if (page >= pageCount_)
        throw FormatError("page " + std::to_string(page) + " beyond the end of the file");
    Bytes bytes(pageSize);
    in_.clear();
    in_.seekg(std::streamoff(page) * std::streamoff(pageSize));
    in_.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(pageSize));
    if (in_.gcount() != std::streamsize(pageSize))
        throw FormatError("short read of page " + std::to_string(page));
    return bytes;
}

} // namespace engine::jetfile

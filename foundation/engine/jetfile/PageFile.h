#pragma once

// Read access to the pages of a Jet 4 or ACE file. A page number outside the file is a
// FormatError, as is a file whose size is not a whole number of pages.

#include "foundation/engine/jetfile/HeaderPage.h"

#include <filesystem>
#include <fstream>

namespace engine::jetfile {

using PageNumber = std::uint32_t;

class PageFile {
public:
    explicit PageFile(const std::filesystem::path& path);

    const HeaderPage& header() const { return header_; }
    const Format& format() const { return header_.format; }
    PageNumber pageCount() const { return pageCount_; }

    Bytes read(PageNumber page) const;

private:
    mutable std::ifstream in_;
    PageNumber pageCount_ = 0;
    HeaderPage header_;
};

} // namespace engine::jetfile

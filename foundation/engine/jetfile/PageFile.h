#pragma once

// Read access to the pages of a Jet 4 or ACE file. A page number outside the file is a
// FormatError, as is a file whose size is not a whole number of pages.

#include "foundation/engine/jetfile/HeaderPage.h"
#include "foundation/engine/jetfile/PageSource.h"

#include <filesystem>
#include <fstream>

namespace engine::jetfile {

class PageFile : public PageSource {
public:
    explicit PageFile(const std::filesystem::path& path);

    const HeaderPage& header() const { return header_; }
    const Format& format() const override { return header_.format; }
    PageNumber pageCount() const override { return pageCount_; }
    Bytes read(PageNumber page) const override;

private:
    mutable std::ifstream in_;
    PageNumber pageCount_ = 0;
    HeaderPage header_;
};

} // namespace engine::jetfile

#pragma once

// Where pages are read from: the file itself, or a working copy with a statement's pages not
// yet written. Readers of rows, definitions and indexes take either.

#include "foundation/engine/jetfile/Format.h"

namespace engine::jetfile {

using PageNumber = std::uint32_t;

class PageSource {
public:
    virtual ~PageSource() = default;
    virtual const Format& format() const = 0;
    virtual PageNumber pageCount() const = 0;
    // The page's bytes; a page outside the file is a FormatError.
    virtual Bytes read(PageNumber page) const = 0;
};

} // namespace engine::jetfile

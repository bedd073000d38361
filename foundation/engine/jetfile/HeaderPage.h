#pragma once

// Page 0, the database definition page. Its bytes 0x18 to 0x98 are masked with a fixed key;
// the decoded form holds them unmasked. Fields the writer does not interpret (the password,
// the encryption data) are kept as bytes and written back unchanged.

#include "foundation/engine/jetfile/Format.h"

namespace engine::jetfile {

struct SortOrder {
    std::uint16_t id = 0;     // 0x409: General
    std::uint8_t version = 0; // 0: the General order of Jet 4, 1: the General order of ACE

    bool operator==(const SortOrder&) const = default;
};

struct HeaderPage {
    Format format;
    Bytes page; // the whole page with the masked part unmasked
    std::uint16_t codePage = 0;
    std::uint32_t encodingKey = 0; // non-zero when the file is encrypted
    SortOrder sortOrder;
    double creationDate = 0;

    static HeaderPage decode(ByteView page);
    Bytes encode() const;
};

} // namespace engine::jetfile

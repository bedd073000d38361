#pragma once

// The property blobs (MSysObjects.LvProp) of a shared file, by object name.

#include "foundation/engine/jetfile/Bytes.h"

#include <string>
#include <vector>

namespace jettest {

struct StoredBlob {
    std::u16string object;
    engine::jetfile::Bytes bytes;
};

std::vector<StoredBlob> propertyBlobs(const std::string& file);
StoredBlob propertyBlob(const std::string& file, std::u16string_view object);

} // namespace jettest

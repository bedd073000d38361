#pragma once

// Object definitions and binary values travel through scripts in Base64.

#include <cstdint>
#include <string_view>
#include <vector>

namespace SQLExecutor {

using Bytes = std::vector<std::uint8_t>;

// Each unit is narrowed to its low byte; characters outside the alphabet (such as the
// blanks left where a long value was split over several lines) are skipped.
Bytes decodeBase64(std::u16string_view text);

} // namespace SQLExecutor

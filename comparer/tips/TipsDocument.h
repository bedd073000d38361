#pragma once

// The tips document that the comparer carries: UTF-16 little-endian with its byte-order
// mark, CR LF line ends, one "tip" element per tip.

#include <string_view>

// The document's bytes, exactly as in the source tree.
std::string_view tipsDocument();

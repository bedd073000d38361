#pragma once

// The index key of a text value under the General sort order of Jet 4 or of ACE: one
// inline code per character that sorts, then (when the text holds them) the extra codes of
// accented characters, the position flags and the codes of unprintable characters. Only the
// first 255 characters count, and trailing spaces do not.

#include "foundation/engine/jetfile/Bytes.h"

#include <string>

namespace engine::jetfile {

enum class TextOrder { jet4General, aceGeneral };

// Appends the key bytes of a non-null text (without the entry's start flag).
void appendTextKey(Bytes& out, std::u16string_view text, TextOrder order, bool ascending);

} // namespace engine::jetfile

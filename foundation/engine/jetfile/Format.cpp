#include "foundation/engine/jetfile/Format.h"

#include <string_view>

namespace engine::jetfile {

std::optional<Format> detectFormat(ByteView firstBytes) {
    if (firstBytes.size() < 0x18)
        return std::nullopt;
    if (firstBytes.u32(0) != 0x100)
        return std::nullopt;
    std::string_view magic(reinterpret_cast<const char*>(firstBytes.span().data()) + 4, 15);
    if (magic != "Standard Jet DB" && magic != "Standard ACE DB")
        return std::nullopt;
    std::uint8_t version = firstBytes.u8(0x14);
    if (version < std::uint8_t(Version::jet4) || version > std::uint8_t(Version::ace17))
        return std::nullopt;
    return Format{Version(version)};
}

} // namespace engine::jetfile

#include "foundation/engine/jetfile/Text.h"

namespace engine::jetfile {

std::u16string decodeText(ByteView stored) {
    std::u16string text;
    if (stored.size() >= 2 && stored.u8(0) == 0xFF && stored.u8(1) == 0xFE) {
        bool compressed = true;
        for (std::size_t at = 2; at < stored.size();) {
            if (stored.u8(at) == 0) {
                compressed = !compressed;
                ++at;
            } else if (compressed) {
                text.push_back(char16_t(stored.u8(at++)));
            } else {
                if (at + 1 >= stored.size())
                    break; // a lone trailing byte carries no character
                text.push_back(char16_t(stored.u16(at)));
                at += 2;
            }
        }
        return text;
    }
    for (std::size_t at = 0; at + 1 < stored.size(); at += 2)
        text.push_back(char16_t(stored.u16(at)));
    return text;
}

Bytes encodeText(std::u16string_view text) {
    Bytes out;
    for (char16_t unit : text)
        appendU16(out, std::uint16_t(unit));
    return out;
}

} // namespace engine::jetfile

#include "foundation/engine/jetfile/Names.h"

namespace engine::jetfile {

namespace {

char16_t foldedUnit(char16_t unit) {
    if (unit >= u'A' && unit <= u'Z')
        return char16_t(unit + 0x20);
    // Latin-1 capitals, the multiplication sign aside.
    if (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)
        return char16_t(unit + 0x20);
    return unit;
}

} // namespace

std::u16string foldedName(std::u16string_view name) {
    std::u16string folded;
    folded.reserve(name.size());
    for (char16_t unit : name)
        folded.push_back(foldedUnit(unit));
    return folded;
}

bool sameName(std::u16string_view a, std::u16string_view b) {
    return foldedName(a) == foldedName(b);
}

bool nameBefore(std::u16string_view a, std::u16string_view b) {
    return foldedName(a) < foldedName(b);
}

} // namespace engine::jetfile

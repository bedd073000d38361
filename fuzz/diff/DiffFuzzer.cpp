// libFuzzer target: the diff of any two texts. The input is split at its first 0xFF byte
// (or in half) into two byte strings, each read as little-endian UTF-16 units so that every
// unit, lone surrogates included, is reachable. The merged segments must give back both texts
// exactly: the equal and deleted runs the first, the equal and inserted runs the second.

#include "report/diff/Diff.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::u16string units(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += char16_t(data[i] | data[i + 1] << 8);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const void* cut = std::memchr(data, 0xFF, size);
    std::size_t split = cut ? std::size_t(static_cast<const std::uint8_t*>(cut) - data) : size / 2;
    std::u16string first = units(data, split);
    std::u16string second = units(data + split + (cut ? 1 : 0), size - split - (cut ? 1 : 0));

    std::u16string rebuiltFirst;
    std::u16string rebuiltSecond;
    diff::Segments segments = diff::computeDiff(first, second);
    for (const diff::Segment& segment : segments) {
        if (segment.operation != diff::Operation::Insert)
            rebuiltFirst += segment.text;
        if (segment.operation != diff::Operation::Delete)
            rebuiltSecond += segment.text;
    }
    if (rebuiltFirst != first || rebuiltSecond != second)
        std::abort();
    return 0;
}

#include "foundation/text/ByteOrderMark.h"

#include <algorithm>

namespace text {

namespace {

bool beginsWith(const void* bytes, std::size_t count, ByteSpan mark) {
    const auto* in = static_cast<const unsigned char*>(bytes);
    return count >= mark.size() && std::equal(mark.begin(), mark.end(), in);
}

} // namespace

DetectedEncoding detectByBom(const void* bytes, std::size_t count) {
    for (TextEncoding encoding : {TextEncoding::UTF8, TextEncoding::UTF16}) {
        ByteSpan mark = createTextEncoder(encoding)->bom();
        if (beginsWith(bytes, count, mark))
            return {encoding, mark.size()};
    }
    return {TextEncoding::ASCII, 0};
}

std::u16string decodeByBom(const void* bytes, std::size_t count) {
    DetectedEncoding detected = detectByBom(bytes, count);
    std::u16string text;
    createTextEncoder(detected.encoding)
        ->decode(static_cast<const unsigned char*>(bytes) + detected.markLength,
                 count - detected.markLength, text);
    return text;
}

} // namespace text

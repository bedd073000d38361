#include "comparer/DisplayName.h"

namespace {

constexpr std::size_t kLongest = 40;
constexpr std::size_t kHalf = 20;
constexpr std::u16string_view kEllipsis = u"...";

} // namespace

std::u16string shortenDisplayName(std::u16string_view name) {
    std::size_t length = name.size();
    if (length <= kLongest)
        return std::u16string(name);
    std::size_t separator = name.find_last_of(u"/\\");
    std::u16string shortened;
    if (separator == std::u16string_view::npos || separator <= 5 ||
        length - separator >= kLongest) {
        shortened = name.substr(0, kHalf);
        shortened += kEllipsis;
        shortened += name.substr(length - kHalf);
        return shortened;
    }
    std::size_t tail = length - separator;
    shortened = name.substr(0, kLongest - tail);
    shortened += kEllipsis;
    shortened += name.substr(separator);
    return shortened;
}

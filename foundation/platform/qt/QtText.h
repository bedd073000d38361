#pragma once

// Wide strings and QString hold the same UTF-16 units; these copy them across unchanged,
// lone surrogates and NUL characters included.

#include <QString>

#include <string>
#include <string_view>

namespace platform::qt {

inline QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

inline std::u16string fromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
}

} // namespace platform::qt

#include "schema/DataTypeName.h"

#include <array>

namespace {

// Code 0 has its own row ("empty"), so the fallback is only ever found by its absence.
constexpr TypeNameEntry unknownType{0, u"UNKNOWN", u"unknown data type"};

constexpr std::array<std::u16string_view, 3> keyTypeTexts{u"Primary", u"Foreign", u"Unique"};
constexpr std::array<std::u16string_view, 3> updateRuleTexts{u"Cascade Update", u"Null Update",
                                                             u"Default Update"};
constexpr std::array<std::u16string_view, 3> deleteRuleTexts{u"Cascade Delete", u"Null Delete",
                                                             u"Default Delete"};

std::u16string_view textAt(const std::array<std::u16string_view, 3>& texts, int index) {
    if (index < 1 || index > 3)
        return {};
    return texts[index - 1];
}

} // namespace

std::u16string_view keyTypeText(int type) {
    return textAt(keyTypeTexts, type);
}
std::u16string_view updateRuleText(int rule) {
    return textAt(updateRuleTexts, rule);
}
std::u16string_view deleteRuleText(int rule) {
    return textAt(deleteRuleTexts, rule);
}

DataTypeName::DataTypeName(std::span<const TypeNameEntry> typeTable,
                           std::u16string_view autoincrementText,
                           std::u16string_view compressionText, bool zeroLengthSupported,
                           bool accessPropertiesSupported, bool decimalPlacesSupported,
                           bool expressionsSupported, int foreignKeyUniqueSuppressed,
                           std::u16string terminator)
    : typeTable_(typeTable), autoincrementText_(autoincrementText),
      compressionText_(compressionText), zeroLengthSupported_(zeroLengthSupported),
      accessPropertiesSupported_(accessPropertiesSupported),
      decimalPlacesSupported_(decimalPlacesSupported), expressionsSupported_(expressionsSupported),
      foreignKeyUniqueSuppressed_(foreignKeyUniqueSuppressed), terminator_(std::move(terminator)) {}

const TypeNameEntry& DataTypeName::findType(int code) const {
    for (const TypeNameEntry& entry : typeTable_) {
        if (entry.code == code)
            return entry;
    }
    return unknownType;
}

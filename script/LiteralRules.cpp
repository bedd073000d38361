#include "script/LiteralRules.h"

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isSign(char16_t c) {
    return c == u'+' || c == u'-';
}

bool isExponentMark(char16_t c) {
    return c == u'E' || c == u'e';
}

bool isIntegerType(int type) {
    switch (type) {
    case 2:
    case 3:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 131:
        return true;
    default:
        return false;
    }
}

bool isRealType(int type) {
    return type == 4 || type == 5 || type == 6 || type == 14;
}

} // namespace

bool isIntegerLiteral(std::u16string_view text) {
    if (!text.empty() && isSign(text.front()))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    for (char16_t c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

bool isRealLiteral(std::u16string_view text) {
    if (!text.empty() && isSign(text.front()))
        text.remove_prefix(1);
    if (text.empty())
        return false;

    bool pointSeen = false;
    bool exponentSeen = false;
    // Leading zeros do not count: "0e1" is not a number the engine takes.
    bool significantDigitSeen = false;
    char16_t previous = 0;
    for (char16_t c : text) {
        if (isDigit(c)) {
            significantDigitSeen = significantDigitSeen || c != u'0';
        } else if (c == u'.') {
            if (pointSeen || exponentSeen)
                return false;
            pointSeen = true;
        } else if (isExponentMark(c)) {
            if (exponentSeen || !significantDigitSeen)
                return false;
            exponentSeen = true;
        } else if (isSign(c)) {
            if (!isExponentMark(previous))
                return false;
        } else {
            return false;
        }
        previous = c;
    }
    return isDigit(previous);
}

bool defaultFitsType(int type, std::u16string_view text) {
    if (isIntegerType(type))
        return isIntegerLiteral(text);
    if (isRealType(type))
        return isRealLiteral(text);
    return true;
}

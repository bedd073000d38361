#include "foundation/engine/mdbfile/JetTypes.h"

#include "foundation/engine/api/Codes.h"

namespace engine::mdbfile::jet {

int catalogType(int storedType, bool fixedLength) {
    switch (storedType) {
    case boolean:
        return type::boolean;
    case byte:
        return type::tinyInt;
    case integer:
        return type::smallInt;
    case longInteger:
        return type::integer;
    case money:
        return type::currency;
    case single:
        return type::single;
    case doubleType:
        return type::doubleType;
    case dateTime:
        return type::date;
    case binary:
        return type::varBinary;
    case text:
        return fixedLength ? type::wChar : type::varWChar;
    case oleObject:
        return type::longVarBinary;
    case memo:
        return type::longVarWChar;
    case guid:
        return type::guid;
    case numeric:
        return type::decimal;
    case dateTimeExtended:
        return type::dateTimeExtended;
    case 0:
        return type::empty;
    default:
        return type::unknown;
    }
}

int definedSize(int catalogType, int storedLength, bool jet3) {
    switch (catalogType) {
    case type::varWChar:
    case type::wChar:
        // Jet 4 and later store UCS-2: two bytes a character.
        return jet3 ? storedLength : storedLength / 2;
    case type::varBinary:
        return storedLength;
    case type::boolean:
    case type::smallInt:
        return 2;
    case type::tinyInt:
        return 1;
    case type::integer:
    case type::single:
        return 4;
    case type::currency:
    case type::doubleType:
    case type::date:
        return 8;
    case type::guid:
        return 16;
    case type::decimal:
        return 19;
    case type::dateTimeExtended:
        return type::dateTimeExtendedSize;
    default:
        return 0;
    }
}

std::u16string_view parameterTypeName(int storedType) {
    switch (storedType) {
    case 0:
        return u"Value";
    case boolean:
        return u"Bit";
    case byte:
        return u"Byte";
    case integer:
        return u"Short";
    case longInteger:
        return u"Long";
    case money:
        return u"Currency";
    case single:
        return u"IEEESingle";
    case doubleType:
        return u"IEEEDouble";
    case dateTime:
        return u"DateTime";
    case binary:
        return u"Binary";
    case text:
        return u"Text";
    case oleObject:
        return u"LongBinary";
    case memo:
        return u"LongText";
    case guid:
        return u"Guid";
    case numeric:
        return u"Decimal";
    default:
        return {};
    }
}

} // namespace engine::mdbfile::jet

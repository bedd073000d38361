#include "foundation/engine/api/Codes.h"

namespace engine {

int daoTypeOf(int columnType) {
    switch (columnType) {
    case type::boolean:
        return daotype::boolean;
    case type::tinyInt:
        return daotype::byte;
    case type::smallInt:
        return daotype::integer;
    case type::integer:
        return daotype::longInteger;
    case type::currency:
        return daotype::currency;
    case type::single:
        return daotype::single;
    case type::doubleType:
        return daotype::doubleType;
    case type::date:
        return daotype::date;
    case type::varBinary:
        return daotype::binary;
    case type::varWChar:
    case type::wChar:
        return daotype::text;
    case type::longVarBinary:
        return daotype::longBinary;
    case type::longVarWChar:
        return daotype::memo;
    case type::guid:
        return daotype::guid;
    case type::decimal:
        return daotype::decimal;
    case type::dateTimeExtended:
        return daotype::dateTimeExtended;
    case type::attachment:
        return daotype::attachment;
    default:
        return 0;
    }
}

int daoComplexTypeOf(int valueType) {
    switch (valueType) {
    case type::tinyInt:
        return daotype::complexByte;
    case type::smallInt:
        return daotype::complexInteger;
    case type::integer:
        return daotype::complexLong;
    case type::single:
        return daotype::complexSingle;
    case type::doubleType:
        return daotype::complexDouble;
    case type::guid:
        return daotype::complexGuid;
    case type::decimal:
        return daotype::complexDecimal;
    case type::varWChar:
        return daotype::complexText;
    default:
        return 0;
    }
}

} // namespace engine

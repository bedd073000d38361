#pragma once

// The data type codes stored in Access files (column definitions, query parameters, calculated
// columns' result types) and what the engine reports for them.

#include <string_view>

namespace engine::mdbfile::jet {

constexpr int boolean = 0x01;
constexpr int byte = 0x02;
constexpr int integer = 0x03;
constexpr int longInteger = 0x04;
constexpr int money = 0x05;
constexpr int single = 0x06;
constexpr int doubleType = 0x07;
constexpr int dateTime = 0x08;
constexpr int binary = 0x09;
constexpr int text = 0x0A;
constexpr int oleObject = 0x0B;
constexpr int memo = 0x0C;
constexpr int guid = 0x0F;
constexpr int numeric = 0x10;
constexpr int complex = 0x12;
constexpr int dateTimeExtended = 0x14; // Access 2019 and later

// The catalog type (ADOX code) of a stored type; type::unknown for a code the engine does not
// know (type::empty for 0, which only a parameter of no declared type has). A fixed-length
// text column is type::wChar.
int catalogType(int storedType, bool fixedLength);

// ADOX DefinedSize: characters for text, bytes for binary, the engine's fixed size otherwise.
// storedLength is the length in bytes from the column definition.
int definedSize(int catalogType, int storedLength, bool jet3);

// The type's name in a PARAMETERS clause ("Text", "Long", ...); empty for an unknown code.
std::u16string_view parameterTypeName(int storedType);

} // namespace engine::mdbfile::jet

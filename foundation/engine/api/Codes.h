#pragma once

// The numbers of the engine's object model that callers and backends share: column type codes,
// attribute bits and the ids of the schema rowsets.

#include <cstdint>

namespace engine {

// Column types as the catalog reports them (ADOX DataTypeEnum), plus the attachment type.
namespace type {
constexpr int empty = 0;
constexpr int smallInt = 2; // Integer
constexpr int integer = 3;  // Long Integer, AutoNumber
constexpr int single = 4;
constexpr int doubleType = 5;
constexpr int currency = 6;
constexpr int date = 7;
constexpr int boolean = 11; // Yes/No
constexpr int tinyInt = 17; // Byte
constexpr int guid = 72;    // Replication ID
constexpr int attachment = 101;
constexpr int wChar = 130; // fixed text
constexpr int decimal = 131;
constexpr int dateTimeExtended = 135;    // adDBTimeStamp; our rule for Date/Time Extended
constexpr int dateTimeExtendedSize = 42; // its DefinedSize: the bytes of its stored text
constexpr int varWChar = 202;            // Text
constexpr int longVarWChar = 203;        // Memo
constexpr int varBinary = 204;           // Binary
constexpr int longVarBinary = 205;       // OLE Object
// Our rule: a stored column type the engine does not know. No ADOX code is negative.
constexpr int unknown = -1;
} // namespace type

// Field types as DAO reports them (DataTypeEnum of DAO).
namespace daotype {
constexpr int boolean = 1;
constexpr int byte = 2;
constexpr int integer = 3;
constexpr int longInteger = 4;
constexpr int currency = 5;
constexpr int single = 6;
constexpr int doubleType = 7;
constexpr int date = 8;
constexpr int binary = 9;
constexpr int text = 10;
constexpr int longBinary = 11;
constexpr int memo = 12;
constexpr int guid = 15;
constexpr int decimal = 20;
constexpr int dateTimeExtended = 26;
constexpr int attachment = 101;
// Multi-valued fields, by the type of their values.
constexpr int complexByte = 102;
constexpr int complexInteger = 103;
constexpr int complexLong = 104;
constexpr int complexSingle = 105;
constexpr int complexDouble = 106;
constexpr int complexGuid = 107;
constexpr int complexDecimal = 108;
constexpr int complexText = 109;
} // namespace daotype

// The DAO field type of a catalog column type; 0 for a code DAO does not know.
int daoTypeOf(int columnType);
// The DAO type of a multi-valued field whose values have this catalog type; 0 for none.
int daoComplexTypeOf(int valueType);

namespace adox {
// Column Attributes bits.
constexpr int columnFixed = 1;
constexpr int columnNullable = 2;

// Column SortOrder values (the order of an index's or a key's column).
constexpr int sortAscending = 1;
constexpr int sortDescending = 2;

// Index IndexNulls values.
constexpr int indexNullsAllow = 0;
constexpr int indexNullsDisallow = 1;
constexpr int indexNullsIgnore = 2;
constexpr int indexNullsIgnoreAny = 4;

// Key Type values.
constexpr int keyPrimary = 1;
constexpr int keyForeign = 2;
constexpr int keyUnique = 3;

// Key UpdateRule / DeleteRule values.
constexpr int ruleNone = 0;
constexpr int ruleCascade = 1;
constexpr int ruleSetNull = 2;
constexpr int ruleSetDefault = 3;
} // namespace adox

namespace dao {
// TableDef Attributes bits.
constexpr std::int32_t tableSystemObject = std::int32_t(0x80000002u);
constexpr std::int32_t tableHiddenObject = 0x1;
constexpr std::int32_t tableAttachedTable = 0x40000000; // linked Access table
constexpr std::int32_t tableAttachedOdbc = 0x20000000;  // linked ODBC table
constexpr std::int32_t tableAttachExclusive = 0x10000;
constexpr std::int32_t tableAttachSavePassword = 0x20000;

// Relation Attributes bits.
constexpr std::int32_t relationUnique = 0x1;
constexpr std::int32_t relationDontEnforce = 0x2;
constexpr std::int32_t relationInherited = 0x4;
constexpr std::int32_t relationUpdateCascade = 0x100;
constexpr std::int32_t relationDeleteCascade = 0x1000;
constexpr std::int32_t relationDeleteSetNull = 0x2000;
constexpr std::int32_t relationUpdateSetNull = 0x4000; // our rule: DAO has no bit of its own
constexpr std::int32_t relationLeft = 0x1000000;
constexpr std::int32_t relationRight = 0x2000000;

// Field Attributes bits.
constexpr std::int32_t fieldFixed = 0x1;
constexpr std::int32_t fieldVariable = 0x2;
constexpr std::int32_t fieldAutoIncrement = 0x10;
// Attributes of a field of an index.
constexpr std::int32_t fieldDescending = 0x1;
} // namespace dao

namespace ado {
constexpr int stateClosed = 0;
constexpr int stateOpen = 1;

constexpr int commandTypeText = 1;
constexpr int executeNoRecords = 0x80;
constexpr int parameterInput = 1;

// OpenSchema ids.
constexpr int schemaColumns = 4;
constexpr int schemaCheckConstraints = 5;
constexpr int schemaTableConstraints = 10;
} // namespace ado

namespace access {
// Object types of the Access application.
constexpr int objectForm = 2;
constexpr int objectReport = 3;
constexpr int objectMacro = 4;
constexpr int objectModule = 5;
constexpr int objectTableDataMacro = 12;
constexpr int quitSaveAll = 1;
constexpr int quitExit = 2;
} // namespace access

} // namespace engine

#pragma once

// What a table is made of, as a statement that creates it describes it: columns in their
// order, indexes in the order they are created. TableBuilder turns a TableDesign into the table
// definition Access writes for a new table.

#include "foundation/engine/jetfile/TableDefinition.h"

#include <optional>

namespace engine::jetfile {

// A change Access would refuse, with the message Access gives.
class DefinitionRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ColumnDesign {
    std::u16string name;
    std::uint8_t type = column::text;
    // Stored length in bytes of a text or binary column (two per character); the other types
    // have the length of their type.
    std::uint16_t length = 0;
    bool fixedLength = false; // CHAR(n): text stored at its full length
    // NOT NULL: kept as the column's Required property, not in the definition.
    bool required = false;
    bool autoIncrement = false; // AutoNumber of a Long Integer or Replication ID column
    bool compressedUnicode = false;
    bool hyperlink = false; // a Memo column shown as a hyperlink
    // A Long kept among the variable-length columns, as the keys of a flat table are.
    bool storedVariable = false;
    std::uint8_t extendedFlags = 0; // besides compressed Unicode: those of a flat table's columns
    std::uint32_t complexId = 0;    // of an attachment column, in MSysComplexColumns
    std::uint8_t precision = 18;
    std::uint8_t scale = 0;
    // The text sort order of a Text or Memo column; other columns record the sort order's
    // locale without its version.
    SortOrder sortOrder{0x409, 0};
};

struct IndexColumnDesign {
    std::u16string column;
    bool ascending = true;
};

// The stored form of a relationship's end on this table.
struct ForeignKeyDesign {
    std::uint8_t relatedTableType = 0;
    std::uint32_t relatedIndex = 0;
    PageNumber relatedTablePage = 0;
    std::uint8_t cascadeUpdates = 0;
    std::uint8_t cascadeDeletes = 0;
};

struct IndexDesign {
    std::u16string name;
    std::vector<IndexColumnDesign> columns;
    bool primary = false;
    bool unique = false;
    bool ignoreNulls = false;
    bool disallowNull = false;
    std::optional<ForeignKeyDesign> foreignKey;
};

struct TableDesign {
    std::u16string name;
    std::vector<ColumnDesign> columns;
    std::vector<IndexDesign> indexes; // in creation order

    const ColumnDesign* column(std::u16string_view name) const;
};

// The sort order a new column of the type gets in a file of the given sort order.
SortOrder newColumnSortOrder(std::uint8_t type, SortOrder fileOrder);

// The TableDesign a definition describes: its columns in the definition's order, its logical
// indexes by number. Required comes from the table's properties, not from here.
TableDesign designOfDefinition(const TableDefinition& definition, std::u16string name);

} // namespace engine::jetfile

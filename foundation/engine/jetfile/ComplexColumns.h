#pragma once

// The attachment columns of an ACE file. Access keeps a column's values in a hidden flat
// table of its own, f_<GUID>_<column>: the parent's key (_<column>), FileData, FileFlags,
// FileName, FileTimeStamp, FileType, FileURL and the value's own AutoNumber key
// (<table>_<column>), with an index on the parent's key, a unique one on the key and
// FileName, and the primary key. MSysComplexColumns ties the column's complex id (the misc
// of its definition) to the flat table, the parent table and MSysComplexType_Attachment.
// The parent has a unique index of its own on the column, which the catalog does not list.

#include "foundation/engine/jetfile/CatalogRows.h"
#include "foundation/engine/jetfile/TableDesign.h"

namespace engine::jetfile {

// The MSysObjects flags of a flat table: a system object Access keeps for a column.
constexpr std::uint32_t flatTableFlags = 0x800A0000;

// The name of the parent's index on a complex column.
std::u16string complexIndexName(std::u16string_view column, std::u16string_view guid);
// The index design of that index.
IndexDesign complexIndexDesign(std::u16string_view column);
// The flat table of an attachment column, named after the column with the guid.
TableDesign attachmentFlatTable(std::u16string_view table, std::u16string_view column,
                                SortOrder fileOrder);
// 32 upper-case hex digits of a new random GUID.
std::u16string newGuidHex();

class ComplexColumns {
public:
    ComplexColumns(WorkingCopy& copy, PageAllocator& allocator);

    // The complex id of the next column; each call gives a new one.
    std::uint32_t nextId();
    // The flat table and the MSysComplexColumns row of an attachment column of the table
    // whose definition starts at parentPage.
    void addAttachment(CatalogRows& catalog, std::u16string_view table, PageNumber parentPage,
                       const ColumnDefinition& column, SortOrder fileOrder);
    // The flat table of the complex column of that id, its catalog rows and its row here.
    void remove(CatalogRows& catalog, std::uint32_t complexId);

    // Rebuilds the indexes of MSysComplexColumns and writes its definition.
    void finish();

private:
    WorkingCopy& copy_;
    PageAllocator& allocator_;
    TableWriter columns_;
    std::uint32_t next_ = 0;
};

bool hasComplexColumns(const TableDefinition& table);

// The parent's own indexes over the column: those to drop before the column goes.
std::vector<std::u16string> indexesOverColumn(const TableDefinition& table,
                                              std::uint16_t columnNumber);

} // namespace engine::jetfile

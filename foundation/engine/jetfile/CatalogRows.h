#pragma once

// A table's rows in the system catalog: its MSysObjects row (Id the definition page, ParentId
// the Tables container, Name, Type 1, Flags 0, the dates, the Owner and the property blob in
// LvProp) and its permission rows in MSysACEs. The catalog's indexes are rebuilt once, by
// finish(), after the rows of a change are in place.

#include "foundation/engine/jetfile/PropertyBlob.h"
#include "foundation/engine/jetfile/StoredRow.h"
#include "foundation/engine/jetfile/TableWriter.h"

namespace engine::jetfile {

// The MSysObjects flag of an object Access does not show.
constexpr std::uint32_t hiddenObjectFlag = 0x8;
// The MSysObjects flag of a table with attachment or multi-valued columns.
constexpr std::uint32_t complexColumnsFlag = 0x40000;

class CatalogRows {
public:
    CatalogRows(WorkingCopy& copy, PageAllocator& allocator);

    // A new table's row with its MSysObjects flags, and the permissions Access gives a new
    // table: those the Tables container passes on to its objects with full rights, and full
    // rights for the owner.
    void addTable(std::u16string_view name, PageNumber definitionPage,
                  const PropertyBlob& properties, std::uint32_t flags);
    void removeTable(PageNumber definitionPage);
    // An empty blob when the table has none.
    PropertyBlob properties(PageNumber definitionPage) const;
    // Stores the blob, whether the table is hidden or has complex columns, and the time of
    // the change.
    void update(PageNumber definitionPage, const PropertyBlob& properties, bool hidden,
                bool complexColumns);

    // Rebuilds the indexes of MSysObjects and MSysACEs and writes their definitions.
    void finish();

private:
    struct Found {
        RowPointer at;
        StoredRow row;
    };
    struct Container {
        std::uint32_t id = 0;
        Bytes owner;
    };

    std::optional<Found> objectRow(PageNumber definitionPage) const;
    Container tablesContainer() const;
    Bytes ownerOfNewObjects(const Container& tables) const;
    Found tableRow(PageNumber definitionPage) const;
    const ColumnDefinition& objectColumn(std::u16string_view name) const;
    const ColumnDefinition& aceColumn(std::u16string_view name) const;
    std::optional<Bytes> storedProperties(const PropertyBlob& properties);
    // Frees the long value of the row's blob.
    void dropProperties(const StoredRow& row);
    void addPermissions(std::uint32_t containerId, std::uint32_t object, ByteView owner);

    WorkingCopy& copy_;
    PageAllocator& allocator_;
    TableWriter objects_;
    TableWriter aces_;
};

} // namespace engine::jetfile

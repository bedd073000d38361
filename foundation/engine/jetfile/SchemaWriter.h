#pragma once

// Structure changes of a Jet 4 or ACE file in the catalog model's terms, written into a working
// copy: the table definition pages, the rows and index B-trees a change touches, the table's
// row in MSysObjects with its property blob, and what Access writes beside a new object. Each
// call writes the pages of one change and leaves committing or discarding them to the caller;
// after a call that throws, the caller discards the statement's pages. Each call reads the
// free-page map afresh through an allocator of its own, so no other PageAllocator over the
// copy may be in use across a call.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/jetfile/ComplexColumns.h"
#include "foundation/engine/jetfile/HeaderPage.h"
#include "foundation/engine/jetfile/WorkingCopy.h"

#include <optional>
#include <string_view>

namespace engine::jetfile {

class SchemaWriter {
public:
    explicit SchemaWriter(WorkingCopy& copy) : copy_(copy) {}

    // A new local table with its columns, indexes (primary, unique, ignore nulls, required)
    // and the column and table properties the model carries (default value, required, allow
    // zero length, validation rule and text, and named properties such as Format,
    // DecimalPlaces, Caption, Description), hidden or not; an attachment column of an ACE
    // file with its flat table (see ComplexColumns). Throws DefinitionRefused with Access's
    // message, and for what this writer does not make: links, CHECK constraints, indexes of
    // relationships, multi-valued columns and attachments in a Jet 4 file.
    void createTable(const catalog::Table& table);

    // The table, its catalog rows and properties, and the flat tables of its attachment
    // columns; their pages go back to the free-page map.
    // Throws DefinitionRefused when there is no such table or it is part of a relationship.
    void dropTable(std::u16string_view name);

    // The table goes from `before` to `after`, which has the same name: columns are matched by
    // name (added, dropped, properties changed), indexes by name (added, dropped, or built
    // again when defined otherwise); the table's properties and hidden flag follow after, and
    // only what differs from before is written. Every row is kept (values of added columns
    // are null) and every index rebuilt that the change touches. A column whose type or size
    // changes, a dropped column that is part of a relationship and
    // a change of CHECK constraints are refused.
    void changeTable(const catalog::Table& before, const catalog::Table& after);

    // Whether attachment columns can be made: ACE files have them, Jet 4 files not.
    bool makesAttachments() const { return copy_.format().isAce(); }

private:
    // The definition page of the table of that name; nullopt when there is none.
    std::optional<PageNumber> findTable(std::u16string_view name) const;
    PageNumber tableNamed(std::u16string_view name) const;
    SortOrder fileSortOrder() const;
    // Complex columns of the design get their ids and the parent's index on each; Jet 4 files
    // have none.
    // complex: made for the first such column.
    void prepareComplexColumns(TableDesign& design, PageAllocator& allocator,
                               std::optional<ComplexColumns>& complex) const;

    WorkingCopy& copy_;
};

} // namespace engine::jetfile

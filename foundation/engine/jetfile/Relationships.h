#pragma once

// The relationships of a file as MSysRelationships lists them: one row per pair of columns.
// Tables and columns in a relationship cannot be dropped while it stands.

#include "foundation/engine/jetfile/PageSource.h"

#include <string>
#include <vector>

namespace engine::jetfile {

struct RelationshipColumn {
    std::u16string relationship;
    std::u16string table; // the referencing table
    std::u16string column;
    std::u16string referencedTable;
    std::u16string referencedColumn;
};

std::vector<RelationshipColumn> relationshipColumns(const PageSource& file);

// The relationships the table takes part in; with a column, those of that column.
std::vector<std::u16string> relationshipsOf(const PageSource& file, std::u16string_view table,
                                            std::u16string_view column = {});

} // namespace engine::jetfile

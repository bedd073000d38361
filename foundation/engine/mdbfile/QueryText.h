#pragma once

// Saved queries are stored as rows of MSysQueries (one row per clause part); the engine gives
// them back as SQL text. This rebuilds that text, in the layout the engine writes: one clause
// a line, "\r\n" between lines, a closing ";".

#include "foundation/engine/api/CatalogModel.h"

#include <optional>
#include <string>
#include <vector>

namespace engine::mdbfile {

// One MSysQueries row; an absent text is empty.
struct QueryRow {
    int attribute = 0;
    std::u16string expression;
    int flag = 0;
    std::u16string name1;
    std::u16string name2;
    int extra = 0; // LvExtra: the length of a text parameter
};

// The query of these rows, or nullopt when they describe no query this code knows how to
// write (an unknown query or join type, a union without its parts).
std::optional<catalog::Query> buildQuery(const std::u16string& name,
                                         const std::vector<QueryRow>& rows);

} // namespace engine::mdbfile

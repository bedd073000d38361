#pragma once

// Columns and indexes of the catalog model in one line each, for the tables that tests and
// benchmarks of the writer make.

#include "foundation/engine/api/CatalogModel.h"

#include <string>
#include <vector>

namespace jettest {

inline engine::catalog::Column modelColumn(std::u16string name, int type, int size = 0) {
    engine::catalog::Column c;
    c.name = std::move(name);
    c.type = type;
    c.size = size;
    return c;
}

// An ascending index over the columns.
inline engine::catalog::Index modelIndex(std::u16string name, std::vector<std::u16string> columns) {
    engine::catalog::Index i;
    i.name = std::move(name);
    for (std::u16string& c : columns)
        i.columns.push_back({std::move(c), false});
    return i;
}

} // namespace jettest

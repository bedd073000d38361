#pragma once

// Everything the backend knows of one Access file, read when the file is opened. A read-only
// session keeps it to the end; a writable one reads its working copy again after each change.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/api/Variant.h"

#include <string>
#include <vector>

namespace engine::mdbfile {

// Rows of a system table, each with a value for every column.
struct RowSet {
    std::vector<std::u16string> columns;
    std::vector<std::vector<Variant>> rows;

    int columnIndex(std::u16string_view name) const; // ignoring case; -1 when absent
};

struct FileSnapshot {
    catalog::Catalog catalog;
    RowSet objects; // MSysObjects; LvExtra is read for local tables only
};

// The columns of MSysObjects a query can name, in the order of RowSet::columns.
inline constexpr std::u16string_view objectColumns[] = {u"Id",      u"ParentId",    u"Name",
                                                        u"Type",    u"Flags",       u"Database",
                                                        u"Connect", u"ForeignName", u"LvExtra"};

} // namespace engine::mdbfile

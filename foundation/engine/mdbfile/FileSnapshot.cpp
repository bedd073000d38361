#include "foundation/engine/mdbfile/FileSnapshot.h"

#include "foundation/text/WideString.h"

namespace engine::mdbfile {

int RowSet::columnIndex(std::u16string_view name) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (text::equalsNoCase(columns[i], name))
            return int(i);
    return -1;
}

} // namespace engine::mdbfile

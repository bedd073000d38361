#include "script/KeyAsIndex.h"

#include "schema/Table.h"

namespace {

constexpr int disallowNulls = 1;
constexpr int ignoreNulls = 2;

} // namespace

const Index* indexWrittenForKey(const Key& key) {
    if (key.type() != Key::Unique)
        return nullptr;
    for (const auto& index : key.table().indexes()) {
        if (index->name() == key.name() && index->isUnique() && !index->isPrimaryKey() &&
            (index->nulls() == disallowNulls || index->nulls() == ignoreNulls))
            return index.get();
    }
    return nullptr;
}

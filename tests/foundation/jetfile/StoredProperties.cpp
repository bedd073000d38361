#include "StoredProperties.h"

#include "SharedFiles.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/LongValue.h"
#include "foundation/engine/jetfile/Text.h"

using namespace engine::jetfile;

namespace jettest {

std::vector<StoredBlob> propertyBlobs(const std::string& name) {
    PageFile file(sharedFile(name));
    TableDefinition catalog = TableDefinition::read(file, catalogDefinitionPage);
    const ColumnDefinition* objectName = nullptr;
    const ColumnDefinition* properties = nullptr;
    for (const ColumnDefinition& c : catalog.columns) {
        if (c.name == u"Name")
            objectName = &c;
        if (c.name == u"LvProp")
            properties = &c;
    }
    if (objectName == nullptr || properties == nullptr)
        throw FormatError("the catalog has no Name or LvProp column");
    std::vector<StoredBlob> blobs;
    for (const StoredRow& row : readRows(file, catalog)) {
        auto value = row.value(*properties);
        auto named = row.value(*objectName);
        if (value && named)
            blobs.push_back({decodeText(*named), readLongValue(file, *value)});
    }
    return blobs;
}

StoredBlob propertyBlob(const std::string& file, std::u16string_view object) {
    for (StoredBlob& blob : propertyBlobs(file))
        if (blob.object == object)
            return blob;
    throw std::runtime_error("no properties for the object");
}

} // namespace jettest

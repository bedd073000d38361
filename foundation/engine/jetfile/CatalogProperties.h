#pragma once

// The properties of a catalog table as MSysObjects.LvProp keeps them: the table's validation
// rule and text; per column Required (NOT NULL), DefaultValue, AllowZeroLength, the validation
// rule and text, and the named properties (Format, DecimalPlaces, Caption, Description, ...).
// A setting at its default (nullable, no default, zero length refused) stores nothing.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/jetfile/PropertyBlob.h"

namespace engine::jetfile {

// Throws DefinitionRefused for a named property of a type the blob cannot hold.
Property storedProperty(const catalog::Property& property);

// Brings the table's own properties, or a column's, to what the model says: properties the
// model manages are set or removed, named properties of before that after lacks are removed.
// before is null for a new column.
void applyTableProperties(PropertyBlob& blob, const catalog::Table& after);
void applyColumnProperties(PropertyBlob& blob, const catalog::Column* before,
                           const catalog::Column& after);

PropertyBlob propertiesOf(const catalog::Table& table);

} // namespace engine::jetfile

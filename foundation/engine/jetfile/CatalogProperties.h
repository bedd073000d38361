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

// Brings the table's own properties, or a column's, to what the model says. Only what differs
// from before is written (a property the model does not carry stays as stored); before is
// null for a new table or column, whose settings are all written.
void applyTableProperties(PropertyBlob& blob, const catalog::Table* before,
                          const catalog::Table& after);
void applyColumnProperties(PropertyBlob& blob, const catalog::Column* before,
                           const catalog::Column& after);

PropertyBlob propertiesOf(const catalog::Table& table);

} // namespace engine::jetfile

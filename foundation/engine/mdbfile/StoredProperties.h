#pragma once

// The properties Access stores with a table and its columns (MSysObjects.LvProp), as libmdb
// renders them: "yes"/"no" for booleans, decimal text for numbers. The engine's own ones
// become catalog fields (Required, DefaultValue, ...); the others keep their DAO type.

#include "foundation/engine/api/CatalogModel.h"

#include <map>
#include <string>

namespace engine::mdbfile {

using StoredValues = std::map<std::u16string, std::string>;

// Required, AllowZeroLength (text and memo columns: set the column's type first), DefaultValue,
// ValidationRule, ValidationText, and the properties of known type (Format, DecimalPlaces,
// Expression, Caption, ...). Unknown properties are left out: their type cannot be told from the
// file.
void applyColumnProperties(const StoredValues& stored, catalog::Column& column);

// ValidationRule and ValidationText.
void applyTableProperties(const StoredValues& stored, catalog::Table& table);

// The stored value of a property, when present.
const std::string* findStored(const StoredValues& stored, std::u16string_view name);

} // namespace engine::mdbfile

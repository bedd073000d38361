#pragma once

// The engine's rules for names and column definitions, and the wording of its schema errors.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/Ddl.h"

#include <string_view>

namespace engine::embedded {

// A name of a table, column, index, constraint or query: 1 to 64 characters, not starting
// with a blank, without . ! ` [ ] or control characters. Throws EngineError otherwise.
void checkName(std::u16string_view name);

// The catalog column a DDL column definition makes.
catalog::Column columnOf(const ddl::ColumnDefinition& definition);

// Whether a primary key or a DISALLOW NULL index covers the column, so that it holds no nulls
// whatever its own nullable bit says.
bool indexHoldsNoNulls(const catalog::Table& table, const catalog::Column& column);

// The largest counts the engine allows.
constexpr std::size_t maxColumns = 255;
constexpr std::size_t maxIndexes = 32;

namespace schemaErrors {
EngineError fieldNotFound(std::u16string_view field, std::u16string_view table);
EngineError indexExists(std::u16string_view table, std::u16string_view index);
EngineError indexNotFound(std::u16string_view index);
EngineError objectExists(std::u16string_view name);
EngineError primaryKeyExists();
EngineError constraintNotFound();
EngineError linkedTable(std::u16string_view table);
EngineError usedInRelationship();
EngineError fieldInIndex();
EngineError fieldInRelationship();
EngineError changeInRelationship(std::u16string_view field);
EngineError noUniqueIndex();
EngineError relationshipMismatch();
EngineError lastField(std::u16string_view table);
EngineError tooManyFields();
EngineError tooManyIndexes(std::u16string_view table);
EngineError invalidType();
} // namespace schemaErrors

} // namespace engine::embedded

#pragma once

// What only DAO gives reliably: primary keys, relationships with their rules, and the field
// properties attachment type, allow zero length, expression, format and decimal places. Each
// pass throws engine::EngineError and keeps what it added before.

#include "foundation/engine/api/Dao.h"
#include "schema/Database.h"

namespace reader {

// Only plain local tables (attributes 0) that the schema holds take part.
void readPrimaryKeys(const engine::dao::Database& database, Database& schema);

// Foreign keys on the referencing tables that the schema holds; a key of the same name already
// on the table gives way to the relationship.
void readRelationships(const engine::dao::Database& database, Database& schema);

void readFieldProperties(const engine::dao::Database& database, Database& schema);

// Attachment fields bring indexes and keys of their own that no statement can make; they go.
void removeAttachmentIndexes(Database& schema);

} // namespace reader

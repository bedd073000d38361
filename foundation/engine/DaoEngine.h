#pragma once

// The engine's DAO: DBEngine, Database, TableDefs, Fields, Indexes and Relations as the
// session's catalog describes them; field and relation writes go to the session at once.

#include "foundation/engine/api/Dao.h"

#include <memory>

namespace engine {

std::shared_ptr<dao::DBEngine> makeDBEngine();

} // namespace engine

#pragma once

// The engine's DAO: DBEngine, Database, TableDefs, Fields, Indexes and Relations as the
// session's catalog describes them; field and relation writes go to the session at once.

#include "foundation/engine/api/Backend.h"
#include "foundation/engine/api/Dao.h"

#include <functional>
#include <memory>

namespace engine {

// How the engine opens the session of a database: engine::openDatabase, unless a test puts
// a session of its own in between.
using SessionOpener = std::function<std::shared_ptr<Session>(const OpenParameters&)>;

std::shared_ptr<dao::DBEngine> makeDBEngine();
std::shared_ptr<dao::DBEngine> makeDBEngine(SessionOpener open);

} // namespace engine

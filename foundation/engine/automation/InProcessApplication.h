#pragma once

// The Access application on this platform: it works in this process on the document store of
// an embedded database. Every import and delete is saved at once, as Access saves an object
// it loads from text or deletes; Quit has nothing left to save or drop.

#include "foundation/engine/api/Access.h"
#include "foundation/engine/embedded/EmbeddedSession.h"

#include <functional>
#include <memory>

namespace engine::inprocess {

// Opens a new DAO database on the application's database: what CurrentDb gives.
using DatabaseOpener = std::function<std::shared_ptr<dao::Database>()>;

// The application bound to the open session, which it owns from now on.
std::shared_ptr<access::Application>
makeApplication(std::shared_ptr<embedded::EmbeddedSession> session, DatabaseOpener currentDb);

} // namespace engine::inprocess

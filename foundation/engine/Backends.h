#pragma once

// The choice of backend: a database file is opened by the first backend that recognises its
// first bytes.

#include "foundation/engine/api/Backend.h"

#include <memory>
#include <span>

namespace engine {

// Every backend of this build, in the order they are asked.
std::span<const std::shared_ptr<Backend>> backends();

// Opens the database of the parameters with the backend its file calls for. Throws
// EngineError: "Could not find file '<path>'." when there is no such file, "Unrecognized
// database format '<path>'." when no backend knows it, or the backend's own error.
std::shared_ptr<Session> openDatabase(const OpenParameters& parameters);

// Creates a new, empty embedded database at the parameters' path (whatever its extension),
// protected by their database password when one is given, and opens it. Throws EngineError
// when the file exists or cannot be made.
std::shared_ptr<Session> createDatabase(const OpenParameters& parameters);

} // namespace engine

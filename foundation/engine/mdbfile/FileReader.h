#pragma once

// Reads the whole schema of an Access file through libmdb: tables (local, linked, system) with
// their columns and indexes, relationships, saved queries and the object list. libmdb may crash
// or loop on a damaged file, so this runs only in a child process (see MdbFileBackend).

#include "foundation/engine/mdbfile/FileSnapshot.h"

#include <string>

namespace engine::mdbfile {

// Throws DamagedFile when the file is not a readable Access database.
FileSnapshot readAccessFile(const std::string& path);

} // namespace engine::mdbfile

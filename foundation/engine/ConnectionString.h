#pragma once

// Reads the provider connection strings that ADO is opened with, and DAO's connect texts.

#include "foundation/engine/api/Components.h"

#include <string_view>

namespace engine {

// "Provider=...;Data Source=<path>;Jet OLEDB:Database Password=...;Jet OLEDB:System database=
// ...;User ID=...;Password=...;". Keys match ignoring case; a value may be quoted with " or '.
// A piece that does not start with a known key continues the value before it, so that a path
// or password with ";" survives. Throws EngineError when the provider is not one the engine
// serves (Jet 4.0, ACE 12.0 and later).
OpenParameters parseConnectionString(std::u16string_view connectionString);

// The database password of a DAO connect text "MS Access;PWD=<password>"; empty when none.
std::u16string connectPassword(std::u16string_view connect);

} // namespace engine

#pragma once

// The database password: kept as a salted, slow hash, never as the password itself.

#include "foundation/engine/embedded/CatalogStore.h"

#include <string>

namespace engine::embedded {

// Sets the password, or removes it when empty.
void setPassword(CatalogStore& store, const std::u16string& password);

// Throws errors::notValidPassword() when the database has a password and the given one is not
// it. A database without a password opens with any.
void checkPassword(CatalogStore& store, const std::u16string& password);

} // namespace engine::embedded

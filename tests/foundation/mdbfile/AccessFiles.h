#pragma once

// Opening the shared Access test files where they lie.

#include "foundation/engine/api/Backend.h"
#include "foundation/engine/api/CatalogModel.h"

#include <memory>
#include <string>

namespace mdbtest {

std::string accessFile(const std::string& name);

// A session on the named shared file; fails the test when it does not open.
std::shared_ptr<engine::Session> openAccessFile(const std::string& name);
// The same for a file anywhere, such as a changed copy of a shared file.
std::shared_ptr<engine::Session> openAccessPath(const std::string& path);

const engine::catalog::Table& table(const engine::catalog::Catalog& catalog,
                                    std::u16string_view name);
const engine::catalog::Column& column(const engine::catalog::Table& table,
                                      std::u16string_view name);
const engine::catalog::Index& index(const engine::catalog::Table& table, std::u16string_view name);

} // namespace mdbtest

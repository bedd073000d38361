#pragma once

// The engine's ADOX catalog: tables, columns, indexes, keys, views and procedures as the
// session's catalog describes them. Column property writes go to the session at once.

#include "foundation/engine/api/Adox.h"

#include <memory>

namespace engine {

std::shared_ptr<adox::Catalog> makeCatalog();

// A new table for Tables::append: its name and its properties, a linked table when
// "Jet OLEDB:Create Link" is set.
std::shared_ptr<adox::Table> makeNewTable();

} // namespace engine

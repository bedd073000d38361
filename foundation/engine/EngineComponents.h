#pragma once

// The engine's own set of components: what creating ADO, ADOX and DAO objects gives on this
// platform.

#include "foundation/engine/api/Components.h"

namespace engine {

// The real components; lives as long as the program.
Components& components();

} // namespace engine

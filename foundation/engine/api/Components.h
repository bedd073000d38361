#pragma once

// Where the objects of the model come from: what creating a COM object by class id or ProgID
// is on Windows. The engine provides the real set (engine::components()); tests put a fake
// set in its place to make chosen calls fail.

#include "foundation/engine/api/Access.h"
#include "foundation/engine/api/Ado.h"
#include "foundation/engine/api/Adox.h"
#include "foundation/engine/api/Dao.h"

#include <memory>
#include <string>
#include <string_view>

namespace engine {

// What identifies a database to open, as the connection string or DAO's settings give it.
struct OpenParameters {
    std::u16string path;
    std::u16string databasePassword;
    std::u16string systemDatabase;
    std::u16string userId;
    std::u16string userPassword;
};

// DAO's class id and ProgIDs, in the order they are tried.
inline constexpr std::u16string_view daoClassId = u"{CD7791B9-43FD-42C5-AE42-8DD2811F0419}";
inline constexpr std::u16string_view daoProgId36 = u"DAO.DBEngine.36";
inline constexpr std::u16string_view daoProgId35 = u"DAO.DBEngine.35";

// Every create call throws EngineError when the object cannot be made.
class Components {
public:
    virtual ~Components() = default;
    virtual std::shared_ptr<ado::Connection> createConnection() = 0;
    virtual std::shared_ptr<ado::Command> createCommand() = 0;
    virtual std::shared_ptr<adox::Catalog> createCatalog() = 0;
    // A new table for adox::Tables::append.
    virtual std::shared_ptr<adox::Table> createTable() = 0;
    // classOrProgId: daoClassId, daoProgId36 or daoProgId35.
    virtual std::shared_ptr<dao::DBEngine> createDBEngine(std::u16string_view classOrProgId) = 0;
    // The Access application running on the database; nullptr when no Access application
    // can serve it (what a machine without Access gives).
    virtual std::shared_ptr<access::Application> startAccess(const OpenParameters& database) = 0;
};

} // namespace engine

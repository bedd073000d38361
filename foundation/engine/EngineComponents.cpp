#include "foundation/engine/EngineComponents.h"

#include "foundation/engine/AdoxCatalog.h"
#include "foundation/engine/Backends.h"
#include "foundation/engine/Command.h"
#include "foundation/engine/DaoEngine.h"
#include "foundation/engine/SessionConnection.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/automation/InProcessApplication.h"
#include "foundation/engine/embedded/EmbeddedBackend.h"
#include "foundation/engine/embedded/EmbeddedSession.h"

namespace engine {

namespace {

class EngineComponents : public Components {
public:
    std::shared_ptr<ado::Connection> createConnection() override {
        return std::make_shared<SessionConnection>();
    }
    std::shared_ptr<ado::Command> createCommand() override { return std::make_shared<Command>(); }
    std::shared_ptr<adox::Catalog> createCatalog() override { return makeCatalog(); }
    std::shared_ptr<adox::Table> createTable() override { return makeNewTable(); }
    std::shared_ptr<dao::DBEngine> createDBEngine(std::u16string_view classOrProgId) override {
        if (classOrProgId != daoClassId && classOrProgId != daoProgId36 &&
            classOrProgId != daoProgId35)
            throw EngineError(0x80040154, u"Class not registered");
        return makeDBEngine();
    }
    // Only an embedded database keeps the Access application's documents: on any other the
    // application cannot be found, as on a machine without Access.
    std::shared_ptr<access::Application> startAccess(const OpenParameters& database) override {
        if (!embedded::isEmbeddedDatabase(database.path))
            return nullptr;
        auto session = std::dynamic_pointer_cast<embedded::EmbeddedSession>(openDatabase(database));
        if (!session)
            return nullptr;
        return inprocess::makeApplication(std::move(session), [database] {
            auto engine = makeDBEngine();
            engine->setSystemDB(database.systemDatabase);
            engine->setDefaultUser(database.userId);
            engine->setDefaultPassword(database.userPassword);
            std::u16string connect;
            if (!database.databasePassword.empty())
                connect = u"MS Access;PWD=" + database.databasePassword;
            return engine->openDatabase(database.path, {}, false, connect);
        });
    }
};

} // namespace

Components& components() {
    static EngineComponents instance;
    return instance;
}

} // namespace engine

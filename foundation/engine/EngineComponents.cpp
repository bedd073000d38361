#include "foundation/engine/EngineComponents.h"

#include "foundation/engine/AdoxCatalog.h"
#include "foundation/engine/Command.h"
#include "foundation/engine/DaoEngine.h"
#include "foundation/engine/SessionConnection.h"
#include "foundation/engine/api/EngineError.h"

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
    std::shared_ptr<access::Application> startAccess(const OpenParameters&) override {
        return nullptr;
    }
};

} // namespace

Components& components() {
    static EngineComponents instance;
    return instance;
}

} // namespace engine

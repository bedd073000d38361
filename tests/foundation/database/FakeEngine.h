#pragma once

// An engine whose calls fail on demand and that records what was called, for the connection's
// fallbacks, flags and messages.

#include "foundation/engine/api/Components.h"
#include "foundation/engine/api/EngineError.h"

#include <set>
#include <string>
#include <vector>

namespace databasetest {

using namespace engine;

struct FakeEngine : Components {
    // Failures to inject.
    bool connectionCreateFails = false;
    std::set<std::u16string> providersThatFail; // "Microsoft.ACE.OLEDB.14.0", ...
    EngineError openError{status::unspecified, u"open failed"};
    bool catalogCreateFails = false;
    bool bindFails = false;
    std::set<std::u16string> daoIdsThatFail;
    bool systemDbFails = false;
    bool openDatabaseFails = false;

    // What happened, in order.
    std::vector<std::u16string> calls;

    std::shared_ptr<ado::Connection> createConnection() override;
    std::shared_ptr<ado::Command> createCommand() override { return nullptr; }
    std::shared_ptr<adox::Catalog> createCatalog() override;
    std::shared_ptr<adox::Table> createTable() override { return nullptr; }
    std::shared_ptr<dao::DBEngine> createDBEngine(std::u16string_view id) override;
    std::shared_ptr<access::Application> startAccess(const OpenParameters&) override {
        return nullptr;
    }
};

} // namespace databasetest

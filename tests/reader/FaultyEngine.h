#pragma once

// The real engine with chosen members made to fail: faults that a real database does not
// produce on demand. Members are named "Class.member" (with the argument in parentheses where
// it matters); a fault hits every call or only the n-th.

#include "foundation/engine/api/Components.h"
#include "foundation/engine/api/EngineError.h"

#include <map>
#include <memory>
#include <set>
#include <string>

namespace readertest {

struct FaultPlan {
    // call 0: every call.
    void failOn(const std::string& member, int call = 0) { failures[member].insert(call); }
    // Throws the error when the member's current call is planned to fail.
    void check(const std::string& member);

    engine::EngineError error{engine::status::unspecified, u"Injected failure."};
    std::map<std::string, std::set<int>> failures;
    std::map<std::string, int> calls;
};

// Starts no Access application unless one is given.
class FaultyComponents : public engine::Components {
public:
    explicit FaultyComponents(FaultPlan& plan);

    std::shared_ptr<engine::ado::Connection> createConnection() override;
    std::shared_ptr<engine::ado::Command> createCommand() override;
    std::shared_ptr<engine::adox::Catalog> createCatalog() override;
    std::shared_ptr<engine::adox::Table> createTable() override;
    std::shared_ptr<engine::dao::DBEngine> createDBEngine(std::u16string_view id) override;
    std::shared_ptr<engine::access::Application>
    startAccess(const engine::OpenParameters& database) override;

    std::shared_ptr<engine::access::Application> access;

private:
    FaultPlan& plan_;
};

} // namespace readertest

#pragma once

// The engine's own components with a few calls watched or broken: a statement of a chosen
// text that fails with a chosen status and no description (a failure the real engine never
// produces, whose report text the runner must still get right), and a count of the
// connections made.

#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/Components.h"
#include "foundation/engine/api/EngineError.h"

#include <string>

namespace executortest {

class FaultyCommand : public engine::ado::Command {
public:
    FaultyCommand(std::shared_ptr<engine::ado::Command> real, std::u16string failingText,
                  std::uint32_t status)
        : real_(std::move(real)), failingText_(std::move(failingText)), status_(status) {}

    std::shared_ptr<engine::ado::Connection> activeConnection() const override {
        return real_->activeConnection();
    }
    void setActiveConnection(std::shared_ptr<engine::ado::Connection> connection) override {
        real_->setActiveConnection(std::move(connection));
    }
    std::u16string commandText() const override { return real_->commandText(); }
    void setCommandText(const std::u16string& text) override { real_->setCommandText(text); }
    int commandType() const override { return real_->commandType(); }
    void setCommandType(int type) override { real_->setCommandType(type); }
    std::shared_ptr<engine::ado::Parameters> parameters() const override {
        return real_->parameters();
    }
    std::shared_ptr<engine::ado::Parameter> createParameter(const std::u16string& name, int type,
                                                            int direction, int size,
                                                            const engine::Variant& value) override {
        return real_->createParameter(name, type, direction, size, value);
    }
    std::shared_ptr<engine::ado::Recordset> execute(std::int64_t* recordsAffected,
                                                    int options) override {
        if (real_->commandText() == failingText_)
            throw engine::EngineError(status_);
        return real_->execute(recordsAffected, options);
    }

private:
    std::shared_ptr<engine::ado::Command> real_;
    std::u16string failingText_;
    std::uint32_t status_;
};

// The engine's own components; a test overrides what it needs to watch or break.
class DelegatingComponents : public engine::Components {
public:
    std::shared_ptr<engine::ado::Connection> createConnection() override {
        ++connectionsCreated;
        return real().createConnection();
    }
    std::shared_ptr<engine::ado::Command> createCommand() override {
        return real().createCommand();
    }
    std::shared_ptr<engine::adox::Catalog> createCatalog() override {
        return real().createCatalog();
    }
    std::shared_ptr<engine::adox::Table> createTable() override { return real().createTable(); }
    std::shared_ptr<engine::dao::DBEngine> createDBEngine(std::u16string_view id) override {
        return real().createDBEngine(id);
    }
    std::shared_ptr<engine::access::Application>
    startAccess(const engine::OpenParameters& database) override {
        return real().startAccess(database);
    }

    int connectionsCreated = 0;

protected:
    static engine::Components& real() { return engine::components(); }
};

class FaultyComponents : public DelegatingComponents {
public:
    FaultyComponents(std::u16string failingText, std::uint32_t status)
        : failingText_(std::move(failingText)), status_(status) {}

    std::shared_ptr<engine::ado::Command> createCommand() override {
        return std::make_shared<FaultyCommand>(real().createCommand(), failingText_, status_);
    }

private:
    std::u16string failingText_;
    std::uint32_t status_;
};

} // namespace executortest

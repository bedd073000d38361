#pragma once

// The engine's ADO connection: opens a session of the backend that the file calls for and
// serves statements and schema rowsets from it.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/api/Backend.h"

namespace engine {

class SessionConnection : public ado::Connection {
public:
    void open(const std::u16string& connectionString, const std::u16string& userId,
              const std::u16string& password, int options) override;
    int state() const override { return session_ ? ado::stateOpen : ado::stateClosed; }
    void close() override;
    std::u16string connectionString() const override { return connectionString_; }
    std::shared_ptr<ado::Recordset> openSchema(int schema,
                                               const std::vector<Variant>& restrictions) override;
    std::shared_ptr<ado::Recordset> execute(const std::u16string& text,
                                            const std::vector<Variant>& parameters,
                                            std::int64_t* recordsAffected) override;

    // Takes a session opened elsewhere (a database just created).
    void attach(std::shared_ptr<Session> session, std::u16string connectionString);
    // The open session; throws EngineError when the connection is closed.
    const std::shared_ptr<Session>& session() const;
    const std::u16string& path() const { return path_; }

private:
    std::shared_ptr<Session> session_;
    std::u16string connectionString_;
    std::u16string path_;
};

} // namespace engine

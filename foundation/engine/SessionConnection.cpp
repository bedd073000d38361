#include "foundation/engine/SessionConnection.h"

#include "foundation/engine/Backends.h"
#include "foundation/engine/ConnectionString.h"
#include "foundation/engine/SchemaRowsets.h"
#include "foundation/engine/api/EngineError.h"

namespace engine {

void SessionConnection::open(const std::u16string& connectionString, const std::u16string& userId,
                             const std::u16string& password, int) {
    if (session_)
        throw EngineError(0x800A0E79, u"Operation is not allowed when the object is open.");
    OpenParameters parameters = parseConnectionString(connectionString);
    if (!userId.empty())
        parameters.userId = userId;
    if (!password.empty())
        parameters.userPassword = password;
    session_ = openDatabase(parameters);
    connectionString_ = connectionString;
    path_ = parameters.path;
}

void SessionConnection::attach(std::shared_ptr<Session> session, std::u16string connectionString) {
    session_ = std::move(session);
    connectionString_ = std::move(connectionString);
    path_ = parseConnectionString(connectionString_).path;
}

void SessionConnection::close() {
    if (!session_)
        throw errors::objectClosed();
    std::shared_ptr<Session> session = std::move(session_);
    session_.reset();
    session->close();
}

const std::shared_ptr<Session>& SessionConnection::session() const {
    if (!session_)
        throw errors::objectClosed();
    return session_;
}

std::shared_ptr<ado::Recordset>
SessionConnection::openSchema(int schema, const std::vector<Variant>& restrictions) {
    return schemaRowset(*session()->catalog(), schema, restrictions);
}

std::shared_ptr<ado::Recordset> SessionConnection::execute(const std::u16string& text,
                                                           const std::vector<Variant>& parameters,
                                                           std::int64_t* recordsAffected) {
    return session()->execute(text, parameters, recordsAffected);
}

} // namespace engine

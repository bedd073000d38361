#include "FakeEngine.h"

namespace databasetest {

namespace {

class FakeConnection : public ado::Connection {
public:
    explicit FakeConnection(FakeEngine& engine) : engine_(engine) {}

    void open(const std::u16string& connectionString, const std::u16string&, const std::u16string&,
              int options) override {
        engine_.calls.push_back(u"open " + connectionString + u" " +
                                (options == -1 ? u"-1" : u"?"));
        for (const auto& provider : engine_.providersThatFail)
            if (connectionString.find(provider) != std::u16string::npos)
                throw engine_.openError;
        state_ = ado::stateOpen;
    }
    int state() const override { return state_; }
    void close() override {
        engine_.calls.push_back(u"close connection");
        state_ = ado::stateClosed;
    }
    std::u16string connectionString() const override { return {}; }
    std::shared_ptr<ado::Recordset> openSchema(int, const std::vector<Variant>&) override {
        return nullptr;
    }
    std::shared_ptr<ado::Recordset> execute(const std::u16string&, const std::vector<Variant>&,
                                            std::int64_t*) override {
        return nullptr;
    }

private:
    FakeEngine& engine_;
    int state_ = ado::stateClosed;
};

class FakeCatalog : public adox::Catalog {
public:
    explicit FakeCatalog(FakeEngine& engine) : engine_(engine) {}
    std::shared_ptr<ado::Connection> activeConnection() const override { return connection_; }
    void setActiveConnection(std::shared_ptr<ado::Connection> connection) override {
        engine_.calls.push_back(u"bind catalog");
        if (engine_.bindFails)
            throw EngineError(status::unspecified, u"bind failed");
        connection_ = std::move(connection);
    }
    std::shared_ptr<adox::Tables> tables() const override { return nullptr; }
    std::shared_ptr<adox::Views> views() const override { return nullptr; }
    std::shared_ptr<adox::Procedures> procedures() const override { return nullptr; }
    std::shared_ptr<ado::Connection> create(const std::u16string&) override { return nullptr; }

private:
    FakeEngine& engine_;
    std::shared_ptr<ado::Connection> connection_;
};

class FakeDatabase : public dao::Database {
public:
    explicit FakeDatabase(FakeEngine& engine) : engine_(engine) {}
    std::u16string name() const override { return {}; }
    std::shared_ptr<dao::TableDefs> tableDefs() const override { return nullptr; }
    std::shared_ptr<dao::Relations> relations() const override { return nullptr; }
    std::shared_ptr<dao::Relation> createRelation(const std::u16string&) override {
        return nullptr;
    }
    std::shared_ptr<dao::Recordset> openRecordset(const std::u16string&) override {
        return nullptr;
    }
    void close() override { engine_.calls.push_back(u"close database"); }

private:
    FakeEngine& engine_;
};

class FakeDBEngine : public dao::DBEngine {
public:
    explicit FakeDBEngine(FakeEngine& engine) : engine_(engine) {}
    std::u16string systemDB() const override { return {}; }
    void setSystemDB(const std::u16string& path) override {
        engine_.calls.push_back(u"SystemDB " + path);
        if (engine_.systemDbFails)
            throw EngineError(status::unspecified, u"no workgroup");
    }
    void setDefaultUser(const std::u16string& user) override {
        engine_.calls.push_back(u"DefaultUser " + user);
    }
    void setDefaultPassword(const std::u16string& password) override {
        engine_.calls.push_back(u"DefaultPassword " + password);
    }
    std::shared_ptr<dao::Database> openDatabase(const std::u16string& path, const Variant& options,
                                                bool readOnly,
                                                const std::u16string& connect) override {
        engine_.calls.push_back(u"OpenDatabase " + path + u" " +
                                (options.isEmpty() ? u"empty" : u"?") + u" " +
                                (readOnly ? u"true" : u"false") + u" [" + connect + u"]");
        if (engine_.openDatabaseFails)
            throw EngineError(0x80040E4D, u"Not a valid password.");
        return std::make_shared<FakeDatabase>(engine_);
    }
    void beginTrans() override { engine_.calls.push_back(u"BeginTrans"); }
    void commitTrans() override { engine_.calls.push_back(u"CommitTrans"); }
    void rollback() override { engine_.calls.push_back(u"Rollback"); }

private:
    FakeEngine& engine_;
};

} // namespace

std::shared_ptr<ado::Connection> FakeEngine::createConnection() {
    calls.push_back(u"create connection");
    if (connectionCreateFails)
        throw EngineError(0x80040154, u"Class not registered");
    return std::make_shared<FakeConnection>(*this);
}

std::shared_ptr<adox::Catalog> FakeEngine::createCatalog() {
    calls.push_back(u"create catalog");
    if (catalogCreateFails)
        throw EngineError(0x80040154);
    return std::make_shared<FakeCatalog>(*this);
}

std::shared_ptr<dao::DBEngine> FakeEngine::createDBEngine(std::u16string_view id) {
    calls.push_back(u"create engine " + std::u16string(id));
    if (daoIdsThatFail.contains(std::u16string(id)))
        throw EngineError(0x80040154);
    return std::make_shared<FakeDBEngine>(*this);
}

} // namespace databasetest

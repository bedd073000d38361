#include "FaultyEngine.h"

#include "foundation/engine/EngineComponents.h"
#include "foundation/text/WideString.h"

namespace readertest {

using namespace engine;

void FaultPlan::check(const std::string& member) {
    int call = ++calls[member];
    auto planned = failures.find(member);
    if (planned != failures.end() &&
        (planned->second.count(0) != 0 || planned->second.count(call) != 0))
        throw error;
}

namespace {

class FaultyConnection : public ado::Connection {
public:
    FaultyConnection(std::shared_ptr<ado::Connection> real, FaultPlan& plan)
        : real_(std::move(real)), plan_(plan) {}

    void open(const std::u16string& text, const std::u16string& user,
              const std::u16string& password, int options) override {
        real_->open(text, user, password, options);
    }
    int state() const override { return real_->state(); }
    void close() override { real_->close(); }
    std::u16string connectionString() const override { return real_->connectionString(); }
    std::shared_ptr<ado::Recordset> openSchema(int schema,
                                               const std::vector<Variant>& restrictions) override {
        plan_.check("Connection.openSchema(" + std::to_string(schema) + ")");
        return real_->openSchema(schema, restrictions);
    }
    std::shared_ptr<ado::Recordset> execute(const std::u16string& text,
                                            const std::vector<Variant>& parameters,
                                            std::int64_t* affected) override {
        return real_->execute(text, parameters, affected);
    }

    const std::shared_ptr<ado::Connection>& real() const { return real_; }

private:
    std::shared_ptr<ado::Connection> real_;
    FaultPlan& plan_;
};

class FaultyProperties : public Properties {
public:
    FaultyProperties(std::shared_ptr<Properties> real, FaultPlan& plan)
        : real_(std::move(real)), plan_(plan) {}

    int count() const override { return real_->count(); }
    std::shared_ptr<Property> item(int index) const override { return real_->item(index); }
    std::shared_ptr<Property> item(std::u16string_view name) const override {
        plan_.check("Properties.item(" + text::toUtf8(name) + ")");
        return real_->item(name);
    }
    void append(std::shared_ptr<Property> property) override { real_->append(property); }
    void remove(std::u16string_view name) override { real_->remove(name); }

private:
    std::shared_ptr<Properties> real_;
    FaultPlan& plan_;
};

class FaultyTable : public adox::Table {
public:
    FaultyTable(std::shared_ptr<adox::Table> real, FaultPlan& plan)
        : real_(std::move(real)), plan_(plan) {}

    std::u16string name() const override { return real_->name(); }
    void setName(const std::u16string& name) override { real_->setName(name); }
    std::u16string type() const override {
        plan_.check("Table.type");
        return real_->type();
    }
    std::shared_ptr<Properties> properties() const override {
        return std::make_shared<FaultyProperties>(real_->properties(), plan_);
    }
    std::shared_ptr<adox::Columns> columns() const override {
        plan_.check("Table.columns(" + text::toUtf8(real_->name()) + ")");
        return real_->columns();
    }
    std::shared_ptr<adox::Indexes> indexes() const override { return real_->indexes(); }
    std::shared_ptr<adox::Keys> keys() const override { return real_->keys(); }
    std::shared_ptr<adox::Catalog> parentCatalog() const override { return real_->parentCatalog(); }
    void setParentCatalog(std::shared_ptr<adox::Catalog> catalog) override {
        real_->setParentCatalog(catalog);
    }

private:
    std::shared_ptr<adox::Table> real_;
    FaultPlan& plan_;
};

class FaultyTables : public adox::Tables {
public:
    FaultyTables(std::shared_ptr<adox::Tables> real, FaultPlan& plan)
        : real_(std::move(real)), plan_(plan) {}

    int count() const override { return real_->count(); }
    std::shared_ptr<adox::Table> item(int index) const override {
        plan_.check("Tables.item");
        return std::make_shared<FaultyTable>(real_->item(index), plan_);
    }
    std::shared_ptr<adox::Table> item(std::u16string_view name) const override {
        return std::make_shared<FaultyTable>(real_->item(name), plan_);
    }
    void append(std::shared_ptr<adox::Table> table) override { real_->append(table); }

private:
    std::shared_ptr<adox::Tables> real_;
    FaultPlan& plan_;
};

class FaultyCatalog : public adox::Catalog {
public:
    FaultyCatalog(std::shared_ptr<adox::Catalog> real, FaultPlan& plan)
        : real_(std::move(real)), plan_(plan) {}

    std::shared_ptr<ado::Connection> activeConnection() const override {
        return real_->activeConnection();
    }
    void setActiveConnection(std::shared_ptr<ado::Connection> connection) override {
        plan_.check("Catalog.setActiveConnection");
        // The engine's catalog binds only to its own connections.
        if (auto faulty = std::dynamic_pointer_cast<FaultyConnection>(connection))
            connection = faulty->real();
        real_->setActiveConnection(connection);
    }
    std::shared_ptr<adox::Tables> tables() const override {
        plan_.check("Catalog.tables");
        return std::make_shared<FaultyTables>(real_->tables(), plan_);
    }
    std::shared_ptr<adox::Views> views() const override {
        plan_.check("Catalog.views");
        return real_->views();
    }
    std::shared_ptr<adox::Procedures> procedures() const override {
        plan_.check("Catalog.procedures");
        return real_->procedures();
    }
    std::shared_ptr<ado::Connection> create(const std::u16string& text) override {
        return real_->create(text);
    }

private:
    std::shared_ptr<adox::Catalog> real_;
    FaultPlan& plan_;
};

class FaultyDaoDatabase : public dao::Database {
public:
    FaultyDaoDatabase(std::shared_ptr<dao::Database> real, FaultPlan& plan)
        : real_(std::move(real)), plan_(plan) {}

    std::u16string name() const override { return real_->name(); }
    std::shared_ptr<dao::TableDefs> tableDefs() const override {
        plan_.check("Database.tableDefs");
        return real_->tableDefs();
    }
    std::shared_ptr<dao::Relations> relations() const override {
        plan_.check("Database.relations");
        return real_->relations();
    }
    std::shared_ptr<dao::Relation> createRelation(const std::u16string& name) override {
        return real_->createRelation(name);
    }
    std::shared_ptr<dao::Recordset> openRecordset(const std::u16string& query) override {
        return real_->openRecordset(query);
    }
    void close() override { real_->close(); }

private:
    std::shared_ptr<dao::Database> real_;
    FaultPlan& plan_;
};

class FaultyDBEngine : public dao::DBEngine {
public:
    FaultyDBEngine(std::shared_ptr<dao::DBEngine> real, FaultPlan& plan)
        : real_(std::move(real)), plan_(plan) {}

    std::u16string systemDB() const override { return real_->systemDB(); }
    void setSystemDB(const std::u16string& path) override { real_->setSystemDB(path); }
    void setDefaultUser(const std::u16string& user) override { real_->setDefaultUser(user); }
    void setDefaultPassword(const std::u16string& password) override {
        real_->setDefaultPassword(password);
    }
    std::shared_ptr<dao::Database> openDatabase(const std::u16string& path, const Variant& options,
                                                bool readOnly,
                                                const std::u16string& connect) override {
        plan_.check("DBEngine.openDatabase");
        return std::make_shared<FaultyDaoDatabase>(
            real_->openDatabase(path, options, readOnly, connect), plan_);
    }
    void beginTrans() override { real_->beginTrans(); }
    void commitTrans() override { real_->commitTrans(); }
    void rollback() override { real_->rollback(); }

private:
    std::shared_ptr<dao::DBEngine> real_;
    FaultPlan& plan_;
};

} // namespace

FaultyComponents::FaultyComponents(FaultPlan& plan) : plan_(plan) {}

std::shared_ptr<ado::Connection> FaultyComponents::createConnection() {
    return std::make_shared<FaultyConnection>(components().createConnection(), plan_);
}

std::shared_ptr<ado::Command> FaultyComponents::createCommand() {
    return components().createCommand();
}

std::shared_ptr<adox::Catalog> FaultyComponents::createCatalog() {
    return std::make_shared<FaultyCatalog>(components().createCatalog(), plan_);
}

std::shared_ptr<adox::Table> FaultyComponents::createTable() {
    return components().createTable();
}

std::shared_ptr<dao::DBEngine> FaultyComponents::createDBEngine(std::u16string_view id) {
    plan_.check("Components.createDBEngine");
    return std::make_shared<FaultyDBEngine>(components().createDBEngine(id), plan_);
}

std::shared_ptr<access::Application> FaultyComponents::startAccess(const OpenParameters&) {
    plan_.check("Components.startAccess");
    return access;
}

} // namespace readertest

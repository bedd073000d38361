#include "foundation/database/DatabaseConnection.h"

#include "foundation/engine/EngineComponents.h"
#include "foundation/text/WideString.h"

namespace database {

namespace {

std::u16string providerText(ProviderKind kind) {
    switch (kind) {
    case ProviderKind::Jet4:
        return u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
    case ProviderKind::Ace12:
        return u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=";
    case ProviderKind::Ace14:
        return u"Provider=Microsoft.ACE.OLEDB.14.0;Data Source=";
    }
    return {};
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

engine::Components& DatabaseConnection::defaultComponents() {
    return engine::components();
}

DatabaseConnection::DatabaseConnection(const DatabaseDescription& description,
                                       ProviderChoice choice, engine::Components& components)
    : description_(description), choice_(choice), components_(components) {}

DatabaseConnection::~DatabaseConnection() {
    close();
}

std::u16string DatabaseConnection::connectionString(ProviderKind kind) const {
    std::u16string s = providerText(kind) + description_.path;
    bool credentials = false;
    auto append = [&](const char16_t* key, const std::u16string& value) {
        if (value.empty())
            return;
        s += key;
        s += value;
        credentials = true;
    };
    append(u";Jet OLEDB:Database Password=", description_.databasePassword);
    append(u";Jet OLEDB:System database=", description_.systemDatabase);
    append(u";User ID=", description_.userName);
    append(u";Password=", description_.userPassword);
    if (kind == ProviderKind::Ace12 && !credentials)
        s += u";Persist Security Info=False";
    return s + u";";
}

ProviderKind DatabaseConnection::providerForPath(const std::u16string& path) {
    std::size_t begin = 0, end = path.size();
    while (begin < end && isBlank(path[begin]))
        ++begin;
    while (end > begin && isBlank(path[end - 1]))
        --end;
    std::u16string trimmed = text::asciiLower(std::u16string_view(path).substr(begin, end - begin));
    return trimmed.ends_with(u".accdb") ? ProviderKind::Ace12 : ProviderKind::Jet4;
}

void DatabaseConnection::openAdo(ProviderKind kind) {
    std::u16string connectionString = this->connectionString(kind);
    try {
        connection_ = components_.createConnection();
    } catch (const EngineError&) {
        throw DbOpenException(u"Can't initialize ADODB");
    }
    adoOpened_ = true;
    try {
        connection_->open(connectionString, u"", u"", -1);
    } catch (const EngineError& error) {
        throw DbOpenException(u"Can't open database '" + description_.path + u"'\n" +
                              errorText(error));
    }
}

std::shared_ptr<engine::ado::Connection> DatabaseConnection::adoConnection() {
    if (adoOpened_)
        return connection_;
    if (choice_ == ProviderChoice::ByExtension) {
        openAdo(providerForPath(description_.path));
        return connection_;
    }
    try {
        openAdo(ProviderKind::Ace14);
    } catch (const DbOpenException&) {
        try {
            openAdo(ProviderKind::Ace12);
        } catch (const DbOpenException&) {
            openAdo(ProviderKind::Jet4);
        }
    }
    return connection_;
}

std::shared_ptr<engine::adox::Catalog> DatabaseConnection::adoxCatalog() {
    if (adoxOpened_)
        return catalog_;
    try {
        catalog_ = components_.createCatalog();
    } catch (const EngineError&) {
        throw DbOpenException(u"Can't initialize ADOX");
    }
    auto connection = adoConnection();
    try {
        catalog_->setActiveConnection(connection);
    } catch (const EngineError& error) {
        throw DbOpenException(u"Can't open database using ADOX '" + description_.path + u"'\n" +
                              errorText(error));
    }
    adoxOpened_ = true;
    return catalog_;
}

std::shared_ptr<engine::dao::Database> DatabaseConnection::daoDatabase() {
    if (daoOpened_)
        return database_;
    adoConnection(); // ADO opens before DAO is tried
    for (std::u16string_view id : {engine::daoClassId, engine::daoProgId36, engine::daoProgId35}) {
        try {
            engine_ = components_.createDBEngine(id);
            break;
        } catch (const EngineError&) {
        }
    }
    if (!engine_)
        throw DbOpenException(u"Can't initialize DAO");
    daoOpened_ = true;
    std::u16string connect;
    if (!description_.databasePassword.empty())
        connect = u"MS Access;PWD=" + description_.databasePassword;
    if (!description_.systemDatabase.empty())
        engine_->setSystemDB(description_.systemDatabase);
    if (!description_.userName.empty())
        engine_->setDefaultUser(description_.userName);
    if (!description_.userPassword.empty())
        engine_->setDefaultPassword(description_.userPassword);
    try {
        database_ = engine_->openDatabase(description_.path, engine::Variant(), false, connect);
    } catch (const EngineError& error) {
        engine_.reset();
        daoOpened_ = false;
        throw DbOpenException(u"Can't open database using DAO '" + description_.path + u"'\n" +
                              errorText(error));
    }
    return database_;
}

std::shared_ptr<engine::dao::DBEngine> DatabaseConnection::daoEngine() {
    daoDatabase();
    return engine_;
}

void DatabaseConnection::close() {
    // Closing never fails: a close the engine refuses leaves nothing to be done.
    if (daoOpened_) {
        daoOpened_ = false;
        if (database_) {
            try {
                database_->close();
            } catch (const EngineError&) {
            }
            database_.reset();
        }
        engine_.reset();
    }
    if (adoxOpened_) {
        adoxOpened_ = false;
        catalog_.reset();
    }
    if (adoOpened_) {
        adoOpened_ = false;
        try {
            if (connection_->state() == engine::ado::stateOpen)
                connection_->close();
        } catch (const EngineError&) {
        }
        connection_.reset();
    }
}

} // namespace database

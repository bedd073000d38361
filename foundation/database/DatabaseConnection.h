#pragma once

// The connection to one database: builds the provider connection string from the description,
// opens ADO, ADOX and DAO each on its first request only, hands out shared references to them
// and closes them again.

#include "foundation/database/DatabaseDescription.h"
#include "foundation/database/Exceptions.h"
#include "foundation/engine/api/Components.h"

#include <memory>

namespace database {

enum class ProviderKind {
    Jet4 = 1,  // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source="
    Ace12 = 2, // "Provider=Microsoft.ACE.OLEDB.12.0;Data Source="
    Ace14 = 3, // "Provider=Microsoft.ACE.OLEDB.14.0;Data Source="
};

// How ADO is opened. The comparer tries kinds 3, 2 and 1 in turn; the runner takes the kind
// from the path's extension and tries once.
enum class ProviderChoice {
    Fallback,
    ByExtension,
};

class DatabaseConnection {
public:
    // The description must outlive the connection.
    explicit DatabaseConnection(const DatabaseDescription& description,
                                ProviderChoice choice = ProviderChoice::Fallback,
                                engine::Components& components = defaultComponents());
    ~DatabaseConnection();
    DatabaseConnection(const DatabaseConnection&) = delete;
    DatabaseConnection& operator=(const DatabaseConnection&) = delete;

    std::u16string connectionString(ProviderKind kind) const;
    // Kind 2 for a path that ends in ".accdb" (blanks around it and letter case aside), else 1.
    static ProviderKind providerForPath(const std::u16string& path);

    // Throws DbOpenException.
    std::shared_ptr<engine::ado::Connection> adoConnection();
    // Throws DbOpenException.
    std::shared_ptr<engine::adox::Catalog> adoxCatalog();
    // Throws DbOpenException, or EngineError when setting the engine's properties fails.
    std::shared_ptr<engine::dao::Database> daoDatabase();
    // The engine of daoDatabase(), which it opens when needed; for DAO's transactions.
    // Throws as daoDatabase().
    std::shared_ptr<engine::dao::DBEngine> daoEngine();

    void close();

    bool adoOpened() const { return adoOpened_; }
    bool adoxOpened() const { return adoxOpened_; }
    bool daoOpened() const { return daoOpened_; }

private:
    static engine::Components& defaultComponents();
    void openAdo(ProviderKind kind);

    const DatabaseDescription& description_;
    ProviderChoice choice_;
    engine::Components& components_;
    bool adoOpened_ = false;
    bool daoOpened_ = false;
    bool adoxOpened_ = false;
    std::shared_ptr<engine::ado::Connection> connection_;
    std::shared_ptr<engine::dao::DBEngine> engine_;
    std::shared_ptr<engine::dao::Database> database_;
    std::shared_ptr<engine::adox::Catalog> catalog_;
};

} // namespace database

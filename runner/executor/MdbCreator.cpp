#include "runner/executor/MdbCreator.h"

#include "foundation/database/DatabaseConnection.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/Adox.h"

namespace SQLExecutor {

MdbCreator::MdbCreator(const database::DatabaseDescription& description)
    : MdbCreator(description, engine::components()) {}

MdbCreator::MdbCreator(const database::DatabaseDescription& description,
                       engine::Components& components)
    : description_(description), components_(components) {}

bool MdbCreator::create() {
    try {
        // The connection string the runner opens the file with: ".accdb" chooses the ACE
        // provider.
        database::DatabaseConnection connection(description_, database::ProviderChoice::ByExtension,
                                                components_);
        std::u16string connectionString = connection.connectionString(
            database::DatabaseConnection::providerForPath(description_.path));
        std::shared_ptr<engine::adox::Catalog> catalog = components_.createCatalog();
        catalog->create(connectionString);
        return true;
    } catch (const engine::EngineError& error) {
        error_ = true;
        message_ = u"\r\nError: " + error.description();
        return false;
    }
}

} // namespace SQLExecutor

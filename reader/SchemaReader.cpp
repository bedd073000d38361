#include "reader/SchemaReader.h"

#include "foundation/engine/EngineComponents.h"
#include "foundation/platform/FileStamp.h"
#include "foundation/text/WideString.h"
#include "reader/AccessObjectReader.h"
#include "reader/CatalogPhases.h"
#include "reader/DaoPasses.h"

#include <chrono>
#include <thread>

namespace reader {

namespace {

// Runs one phase; an engine error in it becomes the phase's warning and the read goes on.
template <class Phase> void runPhase(Warnings& warnings, const char16_t* warning, Phase&& phase) {
    try {
        phase();
    } catch (const engine::EngineError& error) {
        warnings.record(warning, error);
    }
}

void resolveRelatedTables(Database& schema) {
    for (const auto& table : schema.tables()) {
        for (const auto& key : table->keys()) {
            if (!key->relatedTableName().empty())
                key->setRelatedTable(schema.findTable(key->relatedTableName()));
        }
    }
}

} // namespace

engine::Components& SchemaReader::defaultComponents() {
    return engine::components();
}

SchemaReader::SchemaReader(const database::DatabaseDescription& description,
                           const settings::comparer::Options& options,
                           engine::Components& components)
    : description_(description), options_(options), components_(components) {}

SchemaReader::~SchemaReader() = default;

std::unique_ptr<Database> SchemaReader::read(settings::IProgress& progress) {
    constexpr int kAttempts = 5;
    std::filesystem::path file = text::toUtf8(description_.path);
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        std::optional<platform::FileStamp> before = platform::fileStamp(file);
        std::unique_ptr<Database> schema = readOnce(progress);
        if (!before || before == platform::fileStamp(file))
            return schema;
        // Another program wrote the file meanwhile; give it a moment to finish.
        failed_ = false;
        errorText_.clear();
        warnings_ = Warnings();
        std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
    }
    connection_.reset();
    fail(database::errorText(engine::errors::fileInUse(description_.path)));
    return nullptr;
}

std::unique_ptr<Database> SchemaReader::readOnce(settings::IProgress& progress) {
    connection_.reset();
    connection_.emplace(description_, database::ProviderChoice::Fallback, components_);
    try {
        return readAll(progress);
    } catch (const database::DbOpenException& exception) {
        fail(exception.message() +
             u"\r\nThe application must have permissions to read/write the database file.");
    } catch (const engine::EngineError& error) {
        std::u16string text = database::errorText(error);
        if (text.empty())
            text = u"\r\n" + database::errorMessage(error.status()) +
                   u"\r\nUpdate the database provider, check permissions and linked tables "
                   u"existence.";
        fail(std::move(text));
    }
    return nullptr;
}

void SchemaReader::fail(std::u16string text) {
    failed_ = true;
    errorText_ = std::move(text);
}

std::unique_ptr<Database> SchemaReader::readAll(settings::IProgress& progress) {
    auto schema = std::make_unique<Database>(description_.path);
    std::shared_ptr<engine::ado::Connection> connection = connection_->adoConnection();
    std::shared_ptr<engine::adox::Catalog> catalog = connection_->adoxCatalog();

    std::shared_ptr<engine::adox::Tables> tables = catalog->tables();
    int objectKinds = accessObjectKindCount(options_);
    progress.start(tables->count() + 4 + objectKinds);

    readTables(*tables, options_.compareHiddenTables, *schema, progress, warnings_);
    runPhase(warnings_, u"Can't read primary keys",
             [&] { readPrimaryKeys(*connection_->daoDatabase(), *schema); });
    addUniqueKeys(*schema);
    runPhase(warnings_, u"Can't read constraints",
             [&] { readCheckConstraints(*connection, *schema); });
    progress.step();
    readColumnOrder(*connection, *schema);
    runPhase(warnings_, u"Can't read stored views", [&] { readViews(*catalog, *schema); });
    progress.step();
    runPhase(warnings_, u"Can't read stored procedures",
             [&] { readProcedures(*catalog, *schema); });
    progress.step();
    runPhase(warnings_, u"Can't read relationships",
             [&] { readRelationships(*connection_->daoDatabase(), *schema); });
    runPhase(warnings_, u"Can't read AllowZeroLength",
             [&] { readFieldProperties(*connection_->daoDatabase(), *schema); });
    removeAttachmentIndexes(*schema);
    resolveRelatedTables(*schema);

    if (objectKinds > 0)
        readAccessObjects(components_, description_, options_, *schema, progress, warnings_);
    progress.finish();
    return schema;
}

} // namespace reader

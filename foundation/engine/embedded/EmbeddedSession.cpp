#include "foundation/engine/embedded/EmbeddedSession.h"

#include "foundation/engine/embedded/DdlParser.h"
#include "foundation/engine/embedded/SchemaEditor.h"
#include "foundation/engine/embedded/SqliteSchemaStore.h"

namespace engine::embedded {

EmbeddedSession::EmbeddedSession(std::unique_ptr<SqliteDatabase> db)
    : db_(std::move(db)), data_(std::make_unique<DataStatements>(*db_)) {}

EmbeddedSession::~EmbeddedSession() {
    db_.reset();
}

SqliteDatabase& EmbeddedSession::db() const {
    if (!db_)
        throw errors::objectClosed();
    return *db_;
}

SqliteDatabase& EmbeddedSession::writableDb() const {
    SqliteDatabase& database = db();
    if (database.readOnly())
        throw errors::readOnly();
    return database;
}

void EmbeddedSession::close() {
    db();
    db_.reset();
    data_.reset();
    cached_.reset();
    inTransaction_ = false; // closing rolled it back
}

std::shared_ptr<const catalog::Catalog> EmbeddedSession::catalog() {
    CatalogStore store(db());
    std::int64_t version = store.schemaVersion();
    if (!cached_ || version != cachedVersion_) {
        cached_ = std::make_shared<const catalog::Catalog>(store.load());
        cachedVersion_ = version;
    }
    return cached_;
}

void EmbeddedSession::change(const std::function<void(SchemaEditor&)>& edit) {
    SqliteDatabase& database = writableDb();
    // Enforcement is off while a table is rebuilt: dropping the old copy must not touch the
    // rows that reference it. The new foreign keys are checked by the rebuild itself.
    database.exec("PRAGMA foreign_keys = OFF");
    struct Restore {
        SqliteDatabase& db;
        ~Restore() {
            try {
                db.exec("PRAGMA foreign_keys = ON");
            } catch (const EngineError&) {
            }
        }
    } restore{database};
    SqliteTransaction transaction(database);
    SqliteSchemaStore store(database);
    SchemaEditor editor(store);
    edit(editor);
    CatalogStore(database).bumpSchemaVersion();
    transaction.commit();
}

std::shared_ptr<ado::Recordset> EmbeddedSession::execute(const std::u16string& sql,
                                                         const std::vector<Variant>& parameters,
                                                         std::int64_t* recordsAffected) {
    db();
    if (isDataStatement(sql)) {
        // Foreign keys are off for the whole of a transaction (see beginTransaction): a row
        // change would go unchecked and cascade nowhere.
        if (inTransaction_ && !isPlainQuery(sql))
            throw EngineError(status::unspecified,
                              u"Rows cannot be changed while the catalog is being changed.");
        return data_->execute(*catalog(), sql, parameters, recordsAffected);
    }
    ddl::Statement statement = parseDdl(sql);
    change([&](SchemaEditor& editor) { editor.execute(statement); });
    if (recordsAffected)
        *recordsAffected = 0;
    return nullptr;
}

void EmbeddedSession::alterColumn(const std::u16string& table, const std::u16string& column,
                                  const catalog::Column& definition) {
    change([&](SchemaEditor& editor) { editor.alterColumn(table, column, definition); });
}

void EmbeddedSession::appendColumn(const std::u16string& table, const catalog::Column& definition) {
    change([&](SchemaEditor& editor) { editor.appendColumn(table, definition); });
}

void EmbeddedSession::dropColumn(const std::u16string& table, const std::u16string& column) {
    change([&](SchemaEditor& editor) { editor.dropColumn(table, column); });
}

void EmbeddedSession::appendTable(const catalog::Table& table) {
    change([&](SchemaEditor& editor) { editor.appendTable(table); });
}

void EmbeddedSession::alterTable(const std::u16string& table, const catalog::Table& definition) {
    change([&](SchemaEditor& editor) { editor.alterTable(table, definition); });
}

void EmbeddedSession::appendRelation(const catalog::Relation& relation) {
    change([&](SchemaEditor& editor) { editor.appendRelation(relation); });
}

void EmbeddedSession::dropRelation(const std::u16string& name) {
    change([&](SchemaEditor& editor) { editor.dropRelation(name); });
}

void EmbeddedSession::appendQuery(const std::u16string& name, const std::u16string& text) {
    change([&](SchemaEditor& editor) { editor.appendQuery(name, text); });
}

// Foreign keys must be off while a table is rebuilt (see change), and SQLite changes that
// setting only outside a transaction: it is turned off here for the whole transaction.
// Every change inside checks the keys it makes itself, and rows cannot change meanwhile.
void EmbeddedSession::beginTransaction() {
    SqliteDatabase& database = writableDb();
    if (inTransaction_)
        throw EngineError(status::unspecified, u"A transaction is already open.");
    database.exec("PRAGMA foreign_keys = OFF");
    try {
        database.exec("BEGIN IMMEDIATE");
    } catch (const EngineError&) {
        database.exec("PRAGMA foreign_keys = ON");
        throw;
    }
    inTransaction_ = true;
}

void EmbeddedSession::commitTransaction() {
    SqliteDatabase& database = db();
    if (!inTransaction_)
        throw EngineError(status::unspecified, u"No transaction is open.");
    database.exec("COMMIT");
    inTransaction_ = false;
    database.exec("PRAGMA foreign_keys = ON");
}

void EmbeddedSession::rollbackTransaction() {
    SqliteDatabase& database = db();
    if (!inTransaction_)
        throw EngineError(status::unspecified, u"No transaction is open.");
    inTransaction_ = false;
    // The schema version goes back too and may later be reached again by other changes: the
    // cached catalog of the undone ones must not be taken for theirs.
    cached_.reset();
    try {
        database.exec("ROLLBACK");
    } catch (const EngineError&) {
        // A failure that ended the transaction already rolled it back.
    }
    database.exec("PRAGMA foreign_keys = ON");
}

std::optional<DocumentStore::Bytes> EmbeddedSession::document(int objectType,
                                                              const std::u16string& name) {
    return DocumentStore(db()).load(objectType, name);
}

void EmbeddedSession::saveDocument(int objectType, const std::u16string& name,
                                   const DocumentStore::Bytes& content) {
    SqliteDatabase& database = writableDb();
    SqliteTransaction transaction(database);
    DocumentStore(database).save(objectType, name, content);
    transaction.commit();
}

bool EmbeddedSession::removeDocument(int objectType, const std::u16string& name) {
    SqliteDatabase& database = writableDb();
    SqliteTransaction transaction(database);
    bool removed = DocumentStore(database).remove(objectType, name);
    transaction.commit();
    return removed;
}

} // namespace engine::embedded

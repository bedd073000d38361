#pragma once

// One open embedded database.

#include "foundation/engine/api/Backend.h"
#include "foundation/engine/embedded/CatalogStore.h"
#include "foundation/engine/embedded/DataStatements.h"
#include "foundation/engine/embedded/DocumentStore.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <functional>
#include <memory>
#include <optional>

namespace engine::embedded {

class SchemaEditor;

class EmbeddedSession : public Session {
public:
    explicit EmbeddedSession(std::unique_ptr<SqliteDatabase> db);
    ~EmbeddedSession() override;

    std::shared_ptr<const catalog::Catalog> catalog() override;
    std::shared_ptr<ado::Recordset> execute(const std::u16string& sql,
                                            const std::vector<Variant>& parameters,
                                            std::int64_t* recordsAffected) override;
    void alterColumn(const std::u16string& table, const std::u16string& column,
                     const catalog::Column& definition) override;
    void appendColumn(const std::u16string& table, const catalog::Column& definition) override;
    void dropColumn(const std::u16string& table, const std::u16string& column) override;
    void appendTable(const catalog::Table& table) override;
    void alterTable(const std::u16string& table, const catalog::Table& definition) override;
    void appendRelation(const catalog::Relation& relation) override;
    void dropRelation(const std::u16string& name) override;
    void appendQuery(const std::u16string& name, const std::u16string& text) override;
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    void close() override;

    // The Access application's documents (see DocumentStore); each change is one transaction.
    std::optional<DocumentStore::Bytes> document(int objectType, const std::u16string& name);
    void saveDocument(int objectType, const std::u16string& name,
                      const DocumentStore::Bytes& content);
    // Returns false when there was nothing to remove.
    bool removeDocument(int objectType, const std::u16string& name);

private:
    SqliteDatabase& db() const;
    SqliteDatabase& writableDb() const;
    // Runs one schema change in its own transaction with foreign keys off: all of it or none.
    void change(const std::function<void(SchemaEditor&)>& edit);

    std::unique_ptr<SqliteDatabase> db_;
    std::unique_ptr<DataStatements> data_; // its SQL functions live in db_: closed after it
    std::shared_ptr<const catalog::Catalog> cached_;
    std::int64_t cachedVersion_ = -1;
    bool inTransaction_ = false;
};

} // namespace engine::embedded

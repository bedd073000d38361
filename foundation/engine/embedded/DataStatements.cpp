#include "foundation/engine/embedded/DataStatements.h"

#include "foundation/engine/api/RowsetRecordset.h"
#include "foundation/engine/embedded/DmlParser.h"
#include "foundation/engine/embedded/RowRules.h"
#include "foundation/engine/embedded/StoredValues.h"
#include "foundation/text/WideString.h"

#include <sqlite3.h>

namespace engine::embedded {

namespace {

// Names the catalog does not know: tables and views of the storage itself, apart from the
// engine's own ("kel." ...) and SQLite's.
class StorageNames : public DmlStorage {
public:
    explicit StorageNames(SqliteDatabase& db) : db_(db) {}

    bool hasStorageObject(std::u16string_view name) override {
        std::u16string lower = text::asciiLower(name);
        if (lower.starts_with(u"kel.") || lower.starts_with(u"sqlite_"))
            return false;
        auto row = db_.prepare("SELECT 1 FROM sqlite_schema WHERE type IN ('table', 'view') "
                               "AND name = ?1 COLLATE NOCASE");
        row.bind(1, name);
        return row.step();
    }

    int resultColumns(const std::string& selectSql) override {
        try {
            return db_.prepare(selectSql).columnCount();
        } catch (const EngineError&) {
            throw dmlErrors::noValueGiven();
        }
    }

private:
    SqliteDatabase& db_;
};

void bindAll(SqliteStatement& statement, const DmlStatement& translated,
             const std::vector<Variant>& parameters) {
    if (int(parameters.size()) < translated.parameterCount)
        throw dmlErrors::noValueGiven();
    for (int i = 0; i < translated.parameterCount; ++i)
        bindValue(statement, i + 1, parameters[std::size_t(i)]);
}

} // namespace

DataStatements::DataStatements(SqliteDatabase& db) : db_(db) {
    // A double-quoted name that is no column must fail, not turn into a text.
    sqlite3_db_config(db_.handle(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_.handle(), SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    registerAccessFunctions(db_, *context_);
}

SqliteStatement DataStatements::prepare(const std::string& sql) {
    try {
        return db_.prepare(sql);
    } catch (const EngineError&) {
        // Names the tables do not have are parameters to the engine, and none was given.
        if (db_.errorMessage().starts_with("no such column"))
            throw dmlErrors::noValueGiven();
        throw;
    }
}

void DataStatements::fail(const EngineError& error, const catalog::Catalog& catalog,
                          const DmlStatement& statement) {
    if (context_->error)
        throw *context_->error;
    int code = sqlite3_extended_errcode(db_.handle());
    if (code == SQLITE_CONSTRAINT_NOTNULL) {
        // "NOT NULL constraint failed: T.C"
        std::string message = db_.errorMessage();
        std::size_t dot = message.rfind('.');
        const catalog::Table* table = catalog.findTable(statement.table);
        const catalog::Column* column =
            table && dot != std::string::npos
                ? table->findColumn(text::fromUtf8(message.substr(dot + 1)))
                : nullptr;
        if (column && !column->nullable)
            throw valueErrors::required(table->name, column->name);
        throw valueErrors::indexNull();
    }
    if (code == SQLITE_CONSTRAINT_FOREIGNKEY) {
        for (const catalog::Relation& relation : catalog.relations) {
            if (relation.attributes & dao::relationDontEnforce)
                continue;
            if (statement.kind == DmlStatement::Kind::Delete &&
                text::equalsNoCase(relation.table, statement.table))
                throw EngineError(status::unspecified,
                                  u"The record cannot be deleted or changed because table '" +
                                      relation.foreignTable + u"' includes related records.");
            if (statement.kind != DmlStatement::Kind::Delete &&
                text::equalsNoCase(relation.foreignTable, statement.table))
                throw EngineError(status::unspecified,
                                  u"You cannot add or change a record because a related record "
                                  u"is required in table '" +
                                      relation.table + u"'.");
        }
    }
    throw error;
}

std::shared_ptr<ado::Recordset> DataStatements::execute(const catalog::Catalog& catalog,
                                                        std::u16string_view sql,
                                                        const std::vector<Variant>& parameters,
                                                        std::int64_t* recordsAffected) {
    StorageNames names(db_);
    DmlStatement statement = translateDml(sql, catalog, names);
    context_->error.reset();
    context_->stores = &statement.stores;
    struct Reset {
        StatementContext& context;
        ~Reset() { context.stores = nullptr; }
    } reset{*context_};
    if (statement.kind == DmlStatement::Kind::Select) {
        auto rows = query(catalog, statement, parameters);
        if (recordsAffected)
            *recordsAffected = -1;
        return rows;
    }
    std::int64_t affected = change(catalog, statement, parameters);
    if (recordsAffected)
        *recordsAffected = affected;
    return nullptr;
}

std::shared_ptr<ado::Recordset> DataStatements::query(const catalog::Catalog& catalog,
                                                      const DmlStatement& statement,
                                                      const std::vector<Variant>& parameters) {
    SqliteStatement select = prepare(statement.sql);
    bindAll(select, statement, parameters);
    std::vector<std::u16string> columns;
    std::vector<const catalog::Column*> types;
    for (int i = 0; i < select.columnCount(); ++i) {
        columns.push_back(select.columnName(i));
        const catalog::Table* table = catalog.findTable(select.originTable(i));
        types.push_back(table ? table->findColumn(select.originColumn(i)) : nullptr);
    }
    std::vector<RowsetRecordset::Row> rows;
    try {
        while (select.step()) {
            RowsetRecordset::Row row;
            for (int i = 0; i < int(columns.size()); ++i)
                row.push_back(readValue(select, i, types[std::size_t(i)]));
            rows.push_back(std::move(row));
        }
    } catch (const EngineError& error) {
        fail(error, catalog, statement);
    }
    return std::make_shared<RowsetRecordset>(std::move(columns), std::move(rows));
}

std::int64_t DataStatements::change(const catalog::Catalog& catalog, const DmlStatement& statement,
                                    const std::vector<Variant>& parameters) {
    if (db_.readOnly())
        throw errors::readOnly();
    const catalog::Table* table = catalog.findTable(statement.table);
    SqliteTransaction transaction(db_);
    SqliteStatement run = prepare(statement.sql);
    bindAll(run, statement, parameters);
    std::vector<std::int64_t> rowids;
    try {
        while (run.step())
            rowids.push_back(run.integer(0));
    } catch (const EngineError& error) {
        fail(error, catalog, statement);
    }
    std::int64_t affected =
        statement.kind == DmlStatement::Kind::Delete ? db_.changes() : std::int64_t(rowids.size());
    if (table && statement.kind != DmlStatement::Kind::Delete) {
        RowRules rules(db_, *table, catalog);
        try {
            rules.check(rowids);
        } catch (const EngineError& error) {
            throw context_->error ? *context_->error : error;
        }
    }
    transaction.commit();
    return affected;
}

} // namespace engine::embedded

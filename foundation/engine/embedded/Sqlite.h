#pragma once

// A thin RAII layer over the SQLite C interface: one connection, prepared statements and
// transactions. SQLite failures become EngineError with the engine's wording.

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/api/Variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace engine::embedded {

class SqliteStatement;

class SqliteDatabase {
public:
    // Opens an existing file (never creates one unless create is set). path names the file
    // in errors.
    SqliteDatabase(const std::u16string& path, bool readOnly, bool create);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs statements without results.
    void exec(std::string_view sql);
    SqliteStatement prepare(std::string_view sql);
    std::int64_t changes() const;
    // SQLite's own text for the latest failure of this connection.
    std::string errorMessage() const;
    sqlite3* handle() const { return db_; }
    bool readOnly() const { return readOnly_; }
    // From now on SQL that writes to, drops or puts a trigger on the table (or view) fails
    // with errors::readOnly(); reading it stays allowed.
    void refuseChanges(std::string table);
    const std::u16string& path() const { return path_; }

    // The engine error for a SQLite result code of this connection.
    [[noreturn]] void fail(int code) const;

private:
    sqlite3* db_ = nullptr;
    std::u16string path_;
    bool readOnly_;
    std::vector<std::string> unchangeable_;
};

class SqliteStatement {
public:
    SqliteStatement(const SqliteDatabase& db, sqlite3_stmt* statement)
        : db_(&db), statement_(statement) {}
    SqliteStatement(SqliteStatement&& other) noexcept;
    ~SqliteStatement();

    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, std::u16string_view value);
    SqliteStatement& bindBlob(int index, const void* data, std::size_t size);
    SqliteStatement& bindNull(int index);
    SqliteStatement& bindReal(int index, double value);
    // A value that reads as null except to the SQL functions that know its type name.
    SqliteStatement& bindPointer(int index, void* pointer, const char* type, void (*free)(void*));

    // Steps once; true while a row is there.
    bool step();
    // Steps to the end (a statement without rows).
    void run();
    void reset();

    int columnCount() const;
    std::u16string columnName(int column) const;
    // The table and column a result column reads unchanged; empty for an expression.
    std::u16string originTable(int column) const;
    std::u16string originColumn(int column) const;
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL.
    int storageClass(int column) const;

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    std::u16string text(int column) const;
    Variant::Bytes blob(int column) const;

private:
    const SqliteDatabase* db_;
    sqlite3_stmt* statement_;
};

// One statement's transaction: BEGIN IMMEDIATE at construction, ROLLBACK unless commit() ran.
// Inside a transaction that is already open it is a savepoint, so that a failed statement
// undoes only itself and the outer transaction decides about the rest.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();
    void commit();

private:
    SqliteDatabase& db_;
    bool nested_;
    bool open_ = true;
};

// "name" with every '"' doubled: a SQLite identifier.
std::string quoteIdentifier(std::u16string_view name);

} // namespace engine::embedded

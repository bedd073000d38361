#include "foundation/engine/embedded/Sqlite.h"

#include "foundation/text/WideString.h"

#include <sqlite3.h>

namespace engine::embedded {

SqliteDatabase::SqliteDatabase(const std::u16string& path, bool readOnly, bool create)
    : path_(path), readOnly_(readOnly) {
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    flags |= SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(text::toUtf8(path).c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw EngineError(status::unspecified,
                          u"The database engine cannot open the file '" + path +
                              u"'. It is already opened exclusively by another user, or you "
                              u"need permission to view its data.");
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 2000);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(db_);
}

void SqliteDatabase::fail(int code) const {
    switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
        switch (code) {
        case SQLITE_CONSTRAINT_NOTNULL:
            throw EngineError(status::unspecified,
                              u"Index or primary key cannot contain a Null value.");
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            throw EngineError(status::unspecified, u"You cannot add or change a record because "
                                                   u"a related record is required.");
        default:
            throw EngineError(
                status::unspecified,
                u"The changes you requested to the table were not successful because they "
                u"would create duplicate values in the index, primary key, or relationship. "
                u"Change the data in the field or fields that contain duplicate data, remove "
                u"the index, or redefine the index to permit duplicate entries and try again.");
        }
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw errors::fileInUse(path_);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        throw errors::readOnly();
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw errors::unrecognizedFormat(path_);
    case SQLITE_FULL:
    case SQLITE_IOERR:
        throw EngineError(status::unspecified, u"Disk or network error.");
    default:
        throw EngineError(status::unspecified, u"Unexpected error from the database storage: " +
                                                   text::fromUtf8(sqlite3_errmsg(db_)) + u".");
    }
}

void SqliteDatabase::exec(std::string_view sql) {
    int rc = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(sqlite3_extended_errcode(db_));
}

SqliteStatement SqliteDatabase::prepare(std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.data(), int(sql.size()), &statement, nullptr);
    if (rc != SQLITE_OK)
        fail(sqlite3_extended_errcode(db_));
    return SqliteStatement(*this, statement);
}

namespace {

// The table an authorizer request changes; null for requests that change none.
const char* changedTable(int action, const char* first, const char* second) {
    switch (action) {
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_VIEW:
        return first;
    case SQLITE_ALTER_TABLE:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_CREATE_TEMP_TRIGGER:
        return second;
    default:
        return nullptr;
    }
}

int authorize(void* names, int action, const char* first, const char* second, const char*,
              const char*) {
    const char* table = changedTable(action, first, second);
    if (!table)
        return SQLITE_OK;
    for (const std::string& name : *static_cast<const std::vector<std::string>*>(names))
        if (sqlite3_stricmp(name.c_str(), table) == 0)
            return SQLITE_DENY;
    return SQLITE_OK;
}

} // namespace

void SqliteDatabase::refuseChanges(std::string table) {
    unchangeable_.push_back(std::move(table));
    sqlite3_set_authorizer(db_, authorize, &unchangeable_);
}

std::int64_t SqliteDatabase::changes() const {
    return sqlite3_changes64(db_);
}

std::string SqliteDatabase::errorMessage() const {
    return sqlite3_errmsg(db_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), statement_(other.statement_) {
    other.statement_ = nullptr;
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::u16string_view value) {
    std::string utf8 = text::toUtf8(value);
    sqlite3_bind_text(statement_, index, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, const void* data, std::size_t size) {
    sqlite3_bind_blob64(statement_, index, size ? data : "", size, SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index) {
    sqlite3_bind_null(statement_, index);
    return *this;
}

SqliteStatement& SqliteStatement::bindReal(int index, double value) {
    sqlite3_bind_double(statement_, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bindPointer(int index, void* pointer, const char* type,
                                              void (*free)(void*)) {
    sqlite3_bind_pointer(statement_, index, pointer, type, free);
    return *this;
}

bool SqliteStatement::step() {
    int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    db_->fail(rc);
}

void SqliteStatement::run() {
    while (step()) {
    }
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(statement_);
}

namespace {

std::u16string textOrEmpty(const char* text) {
    return text ? text::fromUtf8(text) : std::u16string();
}

} // namespace

std::u16string SqliteStatement::columnName(int column) const {
    return textOrEmpty(sqlite3_column_name(statement_, column));
}

std::u16string SqliteStatement::originTable(int column) const {
    return textOrEmpty(sqlite3_column_table_name(statement_, column));
}

std::u16string SqliteStatement::originColumn(int column) const {
    return textOrEmpty(sqlite3_column_origin_name(statement_, column));
}

int SqliteStatement::storageClass(int column) const {
    return sqlite3_column_type(statement_, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::u16string SqliteStatement::text(int column) const {
    const auto* data = sqlite3_column_text(statement_, column);
    int size = sqlite3_column_bytes(statement_, column);
    return data ? text::fromUtf8(
                      std::string_view(reinterpret_cast<const char*>(data), std::size_t(size)))
                : std::u16string();
}

Variant::Bytes SqliteStatement::blob(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    int size = sqlite3_column_bytes(statement_, column);
    return data ? Variant::Bytes(data, data + size) : Variant::Bytes();
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db)
    : db_(db), nested_(!sqlite3_get_autocommit(db.handle())) {
    db_.exec(nested_ ? "SAVEPOINT statement" : "BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (open_) {
        try {
            db_.exec(nested_ ? "ROLLBACK TO statement; RELEASE statement" : "ROLLBACK");
        } catch (const EngineError&) {
            // The failed statement already ended the transaction.
        }
    }
}

void SqliteTransaction::commit() {
    db_.exec(nested_ ? "RELEASE statement" : "COMMIT");
    open_ = false;
}

std::string quoteIdentifier(std::u16string_view name) {
    std::string utf8 = text::toUtf8(name);
    std::string quoted = "\"";
    for (char c : utf8) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

} // namespace engine::embedded

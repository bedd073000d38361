#include "foundation/engine/mdbfile/MdbFileSession.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/mdbfile/ObjectSelect.h"
#include "foundation/engine/mdbfile/RowsRecordset.h"
#include "foundation/engine/mdbfile/StatementWords.h"
#include "foundation/text/WideString.h"

namespace engine::mdbfile {

namespace {

constexpr std::u16string_view objectTable = u"MSysObjects";

EngineError notCapable() {
    return {0x800A0CB3, u"Object or provider is not capable of performing requested operation."};
}

EngineError invalidStatement() {
    return {status::syntaxError, u"Invalid SQL statement; expected 'DELETE', 'INSERT', "
                                 u"'PROCEDURE', 'SELECT', or 'UPDATE'."};
}

bool namesObject(const catalog::Catalog& catalog, std::u16string_view name) {
    if (catalog.findTable(name))
        return true;
    for (const catalog::Query& query : catalog.queries)
        if (text::equalsNoCase(query.name, name))
            return true;
    return false;
}

} // namespace

MdbFileSession::MdbFileSession(std::shared_ptr<const FileSnapshot> snapshot)
    : snapshot_(std::move(snapshot)) {}

void MdbFileSession::requireOpen() const {
    if (!open_)
        throw errors::objectClosed();
}

std::shared_ptr<const catalog::Catalog> MdbFileSession::catalog() {
    requireOpen();
    return std::shared_ptr<const catalog::Catalog>(snapshot_, &snapshot_->catalog);
}

std::shared_ptr<ado::Recordset> MdbFileSession::execute(const std::u16string& sql,
                                                        const std::vector<Variant>& parameters,
                                                        std::int64_t* recordsAffected) {
    requireOpen();
    std::vector<std::u16string> words = statementWords(sql);
    if (changesData(words))
        throw errors::readOnly();
    if (words.empty() || words[0] != u"SELECT")
        throw invalidStatement();
    SelectStatement statement = parseSelect(sql);
    if (!text::equalsNoCase(statement.table, objectTable)) {
        if (namesObject(snapshot_->catalog, statement.table))
            throw notCapable();
        throw errors::tableNotFound(statement.table);
    }
    auto rows =
        std::make_shared<RowsRecordset>(runSelect(statement, snapshot_->objects, parameters));
    if (recordsAffected)
        *recordsAffected = -1;
    return rows;
}

void MdbFileSession::close() {
    open_ = false;
}

} // namespace engine::mdbfile

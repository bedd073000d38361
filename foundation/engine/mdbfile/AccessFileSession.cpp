#include "foundation/engine/mdbfile/AccessFileSession.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/DdlParser.h"
#include "foundation/engine/embedded/SchemaEditor.h"
#include "foundation/engine/jetfile/SchemaWriter.h"
#include "foundation/engine/jetfile/WorkingCopy.h"
#include "foundation/engine/mdbfile/AccessSchemaStore.h"
#include "foundation/engine/mdbfile/IsolatedRead.h"
#include "foundation/engine/mdbfile/MdbFileSession.h"
#include "foundation/engine/mdbfile/NotSupported.h"
#include "foundation/text/WideString.h"

#include <sys/stat.h>
#include <unistd.h>

namespace engine::mdbfile {

namespace fs = std::filesystem;

namespace {

// The page store's errors (a refused definition, a damaged page, a copy that does not read
// back) reach the caller as the engine's.
template <class Work> void asEngineError(Work work) {
    try {
        work();
    } catch (const EngineError&) {
        throw;
    } catch (const std::exception& e) {
        throw EngineError(status::unspecified, text::fromUtf8(e.what()));
    }
}

} // namespace

AccessFileSession::AccessFileSession(std::shared_ptr<SharedFile> file,
                                     std::chrono::milliseconds readLimit)
    : file_(std::move(file)), readLimit_(readLimit), model_(committed()) {}

// The last session dropped without close() leaves the file as it was, unless another session
// of it closed, asking for its changes to be kept.
AccessFileSession::~AccessFileSession() {
    if (!open_ || --file_->openSessions > 0)
        return;
    std::unique_ptr<jetfile::WorkingCopy> copy = std::move(file_->copy);
    if (!copy || !file_->changed || !file_->closeAsked)
        return;
    try {
        copy->close();
    } catch (const std::exception&) {
        // The file stays as it was; nobody is left to tell.
    }
}

void AccessFileSession::requireOpen() const {
    if (!open_)
        throw errors::objectClosed();
}

std::shared_ptr<const catalog::Catalog> AccessFileSession::catalog() {
    requireOpen();
    if (transaction_ && !transaction_->empty())
        return std::make_shared<const catalog::Catalog>(model_);
    return std::shared_ptr<const catalog::Catalog>(file_->snapshot, &committed());
}

jetfile::WorkingCopy& AccessFileSession::workingCopy() {
    if (file_->copy)
        return *file_->copy;
    fs::path file(text::toUtf8(file_->path));
    // A file nobody may write stays read only, for a user who could write it anyway too.
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !(info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) ||
        ::access(file.c_str(), W_OK) != 0)
        throw errors::readOnly();
    try {
        file_->copy = std::make_unique<jetfile::WorkingCopy>(file);
    } catch (const jetfile::FileInUse&) {
        throw errors::fileInUse(file_->path);
    } catch (const std::exception&) {
        throw errors::readOnly();
    }
    return *file_->copy;
}

void AccessFileSession::apply(const Change& change) {
    asEngineError([&] {
        jetfile::SchemaWriter writer(workingCopy());
        AccessSchemaStore store(model_, writer);
        embedded::SchemaEditor editor(store);
        change(editor);
    });
}

void AccessFileSession::change(Change change) {
    requireOpen();
    if (!transaction_)
        model_ = committed(); // another session of the file may have changed it
    jetfile::WorkingCopy& copy = workingCopy();
    try {
        apply(change);
    } catch (const EngineError&) {
        // The failed change's pages go, and with them those of the transaction's earlier
        // changes, which are made again: they succeeded on this same state before.
        copy.discardStatement();
        model_ = committed();
        if (transaction_)
            for (const Change& earlier : *transaction_)
                apply(earlier);
        throw;
    }
    if (transaction_) {
        transaction_->push_back(std::move(change));
        return;
    }
    commitChanges();
}

void AccessFileSession::commitChanges() {
    asEngineError([&] { file_->copy->commitStatement(); });
    file_->changed = true;
    bool timedOut = false;
    std::shared_ptr<const FileSnapshot> read =
        readIsolated(file_->copy->copyPath().string(), readLimit_, timedOut);
    if (!read)
        throw EngineError(status::unspecified,
                          u"The changed file '" + file_->path + u"' could not be read back.");
    file_->snapshot = std::move(read);
    model_ = committed();
}

std::shared_ptr<ado::Recordset> AccessFileSession::execute(const std::u16string& sql,
                                                           const std::vector<Variant>& parameters,
                                                           std::int64_t* recordsAffected) {
    requireOpen();
    if (embedded::isDataStatement(sql)) {
        if (auto part = unsupportedQuery(sql, model_))
            throw notSupported(*part);
        return MdbFileSession(file_->snapshot).execute(sql, parameters, recordsAffected);
    }
    embedded::ddl::Statement statement = embedded::parseDdl(sql);
    if (auto part = unsupportedPart(statement, sql))
        throw notSupported(*part);
    change([statement](embedded::SchemaEditor& editor) { editor.execute(statement); });
    if (recordsAffected)
        *recordsAffected = 0;
    return nullptr;
}

void AccessFileSession::alterColumn(const std::u16string& table, const std::u16string& column,
                                    const catalog::Column& definition) {
    change([=](embedded::SchemaEditor& editor) { editor.alterColumn(table, column, definition); });
}

void AccessFileSession::appendColumn(const std::u16string& table,
                                     const catalog::Column& definition) {
    change([=](embedded::SchemaEditor& editor) { editor.appendColumn(table, definition); });
}

void AccessFileSession::dropColumn(const std::u16string& table, const std::u16string& column) {
    change([=](embedded::SchemaEditor& editor) { editor.dropColumn(table, column); });
}

void AccessFileSession::appendTable(const catalog::Table& table) {
    change([=](embedded::SchemaEditor& editor) { editor.appendTable(table); });
}

void AccessFileSession::alterTable(const std::u16string& table, const catalog::Table& definition) {
    change([=](embedded::SchemaEditor& editor) { editor.alterTable(table, definition); });
}

void AccessFileSession::appendRelation(const catalog::Relation&) {
    requireOpen();
    throw notSupported(u"A relationship");
}

void AccessFileSession::dropRelation(const std::u16string&) {
    requireOpen();
    throw notSupported(u"A relationship");
}

void AccessFileSession::appendQuery(const std::u16string&, const std::u16string&) {
    requireOpen();
    throw notSupported(u"A saved query");
}

void AccessFileSession::beginTransaction() {
    requireOpen();
    if (transaction_)
        throw EngineError(status::unspecified, u"A transaction is already open.");
    transaction_.emplace();
    model_ = committed();
}

void AccessFileSession::commitTransaction() {
    requireOpen();
    if (!transaction_)
        throw EngineError(status::unspecified, u"No transaction is open.");
    bool any = !transaction_->empty();
    transaction_.reset();
    if (any)
        commitChanges();
}

void AccessFileSession::rollbackTransaction() {
    requireOpen();
    if (!transaction_)
        throw EngineError(status::unspecified, u"No transaction is open.");
    transaction_.reset();
    if (file_->copy)
        file_->copy->discardStatement();
    model_ = committed();
}

void AccessFileSession::close() {
    requireOpen();
    open_ = false;
    if (transaction_ && file_->copy)
        file_->copy->discardStatement(); // closing rolls it back
    transaction_.reset();
    if (--file_->openSessions > 0) {
        file_->closeAsked = file_->closeAsked || file_->changed;
        return;
    }
    std::unique_ptr<jetfile::WorkingCopy> copy = std::move(file_->copy);
    if (!copy || !file_->changed)
        return;
    file_->changed = false;
    asEngineError([&] { copy->close(); });
}

} // namespace engine::mdbfile

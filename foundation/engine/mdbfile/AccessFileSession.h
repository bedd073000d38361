#pragma once

// A session on a Jet 4 or ACE file that takes schema changes. Reading stays with the libmdb
// reader (catalog, MSysObjects selects), of the file as its last committed change left it;
// changes are checked by the schema editor and written by the page store into a working copy
// beside the file, made at the first change. Each statement or object-model write is
// committed to the copy whole or not at all; a transaction's changes are committed together
// (until then catalog() shows them, MSysObjects selects not yet).
// The sessions of one file in this program share the copy and the committed state (SharedFile),
// so each sees the others' committed changes; when the last of them closes, the copy is read
// back and replaces the file; without close() the file stays as it was. One transaction at a
// time among them. What the page store does not write yet fails with notSupported() and
// changes nothing.

#include "foundation/engine/api/Backend.h"
#include "foundation/engine/mdbfile/SharedFile.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace engine::embedded {
class SchemaEditor;
}

namespace engine::mdbfile {

class AccessFileSession : public Session {
public:
    AccessFileSession(std::shared_ptr<SharedFile> file, std::chrono::milliseconds readLimit);
    ~AccessFileSession() override;

    std::shared_ptr<const catalog::Catalog> catalog() override;
    // DDL is carried out; SELECT over MSysObjects is answered; data statements fail with
    // notSupported().
    std::shared_ptr<ado::Recordset> execute(const std::u16string& sql,
                                            const std::vector<Variant>& parameters,
                                            std::int64_t* recordsAffected) override;
    // Properties of a column (default, required, allow zero length, validation, named
    // properties); renaming or retyping it fails with notSupported().
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
    // Throws EngineError when the changed file does not read back; the file is then unchanged.
    void close() override;

private:
    using Change = std::function<void(embedded::SchemaEditor&)>;

    void requireOpen() const;
    // Throws errors::fileInUse when another program holds the lock file, errors::readOnly()
    // when the file cannot be written (encrypted, without write permission, on a read-only
    // medium).
    jetfile::WorkingCopy& workingCopy();
    void change(Change change);
    void apply(const Change& change);
    void commitChanges();

    const catalog::Catalog& committed() const { return file_->snapshot->catalog; }

    std::shared_ptr<SharedFile> file_;
    std::chrono::milliseconds readLimit_;
    catalog::Catalog model_; // the committed catalog with the open transaction's changes
    std::optional<std::vector<Change>> transaction_; // the changes made since it began
    bool open_ = true;
};

} // namespace engine::mdbfile

#pragma once

// A session on a Jet 4 or ACE file that takes schema changes. Reading stays with the libmdb
// reader (catalog, MSysObjects selects), of the file as its last committed change left it;
// changes are checked by the schema editor and written by the page store into a working copy
// beside the file, made at the first change. Each statement or object-model write is
// committed to the copy whole or not at all; a transaction's changes are committed together
// (until then catalog() shows them, MSysObjects selects not yet).
// close() reads the copy back and replaces the file with it; without close() the file stays as
// it was. What the page store does not write yet fails with notSupported() and changes nothing.

#include "foundation/engine/api/Backend.h"
#include "foundation/engine/mdbfile/FileSnapshot.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace engine::embedded {
class SchemaEditor;
}

namespace engine::jetfile {
class WorkingCopy;
}

namespace engine::mdbfile {

class AccessFileSession : public Session {
public:
    // snapshot: the file as read when it was opened.
    AccessFileSession(std::u16string path, std::shared_ptr<const FileSnapshot> snapshot,
                      std::chrono::milliseconds readLimit);
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

    std::u16string path_;
    std::chrono::milliseconds readLimit_;
    std::shared_ptr<const FileSnapshot> snapshot_; // as the last committed change left the file
    catalog::Catalog model_; // the snapshot's catalog with the open transaction's changes
    std::unique_ptr<jetfile::WorkingCopy> copy_;
    std::optional<std::vector<Change>> transaction_; // the changes made since it began
    bool changed_ = false;                           // the copy differs from the file
    bool open_ = true;
};

} // namespace engine::mdbfile

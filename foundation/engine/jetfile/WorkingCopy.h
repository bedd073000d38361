#pragma once

// The copy a connection writes into, so that the user's file is never damaged: the copy lies
// beside the file; a statement's pages reach the copy only when the statement succeeds; on
// close the copy is read back in full (every table's rows, every index entry against its row)
// and only then replaces the file atomically, keeping its permissions. A crash or kill at any
// moment leaves the original as it was (and at worst a stale copy beside it).

#include "foundation/engine/jetfile/PageFile.h"
#include "foundation/platform/DatabaseLock.h"

#include <map>
#include <memory>

namespace engine::jetfile {

// The file cannot be written: in use by another program, unreadable, not Jet 4 or ACE.
class WriteRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Another program, or another working copy, holds the file's lock file.
class FileInUse : public WriteRefused {
public:
    using WriteRefused::WriteRefused;
};

class WorkingCopy : public PageSource {
public:
    // Refuses a file whose lock file (.ldb for .mdb, .laccdb for .accdb) another program or
    // another working copy holds (FileInUse), and holds it itself until it is destroyed.
    explicit WorkingCopy(const std::filesystem::path& original);
    // Without close(), the copy is dropped and the original stays as it was.
    ~WorkingCopy() override;
    WorkingCopy(const WorkingCopy&) = delete;
    WorkingCopy& operator=(const WorkingCopy&) = delete;

    const Format& format() const override { return copy_->format(); }
    PageNumber pageCount() const override { return pageCount_; }

    // A page as the running statement sees it.
    Bytes read(PageNumber page) const override;
    void write(PageNumber page, Bytes bytes);
    // A new page at the end of the file, blank until written.
    PageNumber appendPage();

    // The running statement's pages go to the copy, or are forgotten.
    void commitStatement();
    void discardStatement();

    // Verifies the copy and replaces the original with it. Throws WriteRefused when the copy
    // does not read back; the original is then unchanged.
    void close();

    // The copy on disk as the last committed statement left it, for readers of the file.
    const std::filesystem::path& copyPath() const { return copyPath_; }

    static std::filesystem::path lockFileOf(const std::filesystem::path& database);

private:
    void removeCopy();

    std::filesystem::path original_;
    // Held from the copy's making to the end, so that a second writer is refused.
    std::unique_ptr<platform::DatabaseLock> lock_;
    std::filesystem::path copyPath_;
    std::unique_ptr<PageFile> copy_;
    std::map<PageNumber, Bytes> pending_;
    PageNumber committedPages_ = 0;
    PageNumber pageCount_ = 0;
    bool closed_ = false;
};

} // namespace engine::jetfile

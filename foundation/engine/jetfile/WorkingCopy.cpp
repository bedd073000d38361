#include "foundation/engine/jetfile/WorkingCopy.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexCheck.h"
#include "foundation/platform/AtomicFile.h"

#include <fstream>
#include <random>

namespace engine::jetfile {

namespace fs = std::filesystem;

namespace {

fs::path copyBeside(const fs::path& original) {
    std::random_device random;
    std::string suffix = std::to_string(random()) + std::to_string(random());
    return original.parent_path() / ("." + original.filename().string() + ".kel-" + suffix);
}

Bytes readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail())
        throw WriteRefused("cannot read " + path.string());
    return bytes;
}

// Reads every table's rows and checks every index entry against its row.
void verify(const fs::path& path) {
    PageFile file(path);
    for (const CatalogTable& table : listTables(file))
        readRows(file, TableDefinition::read(file, table.definitionPage));
    IndexCheckResult indexes = checkIndexes(file);
    if (!indexes.mismatches.empty())
        throw FormatError("index entry does not match its row: " + indexes.mismatches.front());
}

} // namespace

fs::path WorkingCopy::lockFileOf(const fs::path& database) {
    fs::path lock = database;
    lock.replace_extension(database.extension() == ".accdb" ? ".laccdb" : ".ldb");
    return lock;
}

WorkingCopy::WorkingCopy(const fs::path& original) : original_(original) {
    lock_ = std::make_unique<platform::DatabaseLock>(lockFileOf(original));
    if (!lock_->held())
        throw FileInUse("Could not use '" + original.string() + "'; file already in use.");
    copyPath_ = copyBeside(original);
    std::error_code error;
    fs::copy_file(original, copyPath_, error);
    if (error)
        throw WriteRefused("cannot copy " + original.string() + ": " + error.message());
    fs::permissions(copyPath_, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace, error);
    try {
        copy_ = std::make_unique<PageFile>(copyPath_);
    } catch (const FormatError& e) {
        removeCopy();
        throw WriteRefused(e.what());
    }
    if (copy_->header().encodingKey != 0) {
        removeCopy();
        throw WriteRefused("encrypted files are read only");
    }
    committedPages_ = pageCount_ = copy_->pageCount();
}

WorkingCopy::~WorkingCopy() {
    if (!closed_)
        removeCopy();
}

void WorkingCopy::removeCopy() {
    copy_.reset();
    std::error_code error;
    fs::remove(copyPath_, error);
}

Bytes WorkingCopy::read(PageNumber page) const {
    if (auto it = pending_.find(page); it != pending_.end())
        return it->second;
    if (page >= committedPages_ && page < pageCount_)
        return Bytes(pageSize);
    return copy_->read(page);
}

void WorkingCopy::write(PageNumber page, Bytes bytes) {
    if (page == 0 || page >= pageCount_ || bytes.size() != pageSize)
        throw FormatError("write of page " + std::to_string(page) + " outside the file");
    pending_[page] = std::move(bytes);
}

PageNumber WorkingCopy::appendPage() {
    pending_[pageCount_] = Bytes(pageSize);
    return pageCount_++;
}

void WorkingCopy::commitStatement() {
    {
        std::fstream out(copyPath_, std::ios::binary | std::ios::in | std::ios::out);
        for (const auto& [page, bytes] : pending_) {
            out.seekp(std::streamoff(page) * std::streamoff(pageSize));
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(pageSize));
        }
        out.flush();
        if (!out)
            throw WriteRefused("cannot write the working copy of " + original_.string());
    }
    pending_.clear();
    committedPages_ = pageCount_;
    copy_ = std::make_unique<PageFile>(copyPath_);
}

void WorkingCopy::discardStatement() {
    pending_.clear();
    pageCount_ = committedPages_;
}

void WorkingCopy::close() {
    discardStatement();
    try {
        verify(copyPath_);
    } catch (const FormatError& e) {
        throw WriteRefused(std::string("the changed file does not read back: ") + e.what());
    }
    Bytes bytes = readWhole(copyPath_);
    std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!platform::replaceFileAtomically(original_, view))
        throw WriteRefused("cannot replace " + original_.string());
    closed_ = true;
    removeCopy();
}

} // namespace engine::jetfile

#include "AccessFiles.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/mdbfile/MdbFileBackend.h"
#include "foundation/engine/mdbfile/ReadCache.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace engine;
using namespace engine::mdbfile;
namespace fs = std::filesystem;

namespace {

FileIdentity identity(const std::string& path, std::int64_t size) {
    FileIdentity file;
    file.path = path;
    file.inode = 7;
    file.size = size;
    return file;
}

class ReopenedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() / ("kel-mdb-reopen-" + std::to_string(getpid()));
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    // The catalog of the file as the backend opens it; null when the open failed.
    std::shared_ptr<const catalog::Catalog> open(const fs::path& path) {
        OpenParameters parameters;
        parameters.path = text::fromUtf8(path.string());
        try {
            return backend_.open(parameters)->catalog();
        } catch (const EngineError& e) {
            EXPECT_EQ(e.description(), errors::unrecognizedFormat(parameters.path).description());
            return nullptr;
        }
    }

    // Puts a shared file's bytes (the first `length` of them when given) at `target`.
    void place(const std::string& source, const fs::path& target,
               std::uintmax_t length = std::uintmax_t(-1)) {
        fs::remove(target);
        fs::copy_file(mdbtest::accessFile(source), target);
        if (length != std::uintmax_t(-1))
            fs::resize_file(target, length);
    }

    fs::path directory_;
    MdbFileBackend backend_;
};

} // namespace

TEST(ReadCache, RemembersResultsAndFailuresByIdentity) {
    ReadCache cache;
    FileIdentity file = identity("/a.mdb", 4096);
    EXPECT_FALSE(cache.find(file));
    auto snapshot = std::make_shared<const FileSnapshot>();
    cache.remember(file, snapshot);
    ASSERT_TRUE(cache.find(file));
    EXPECT_EQ(*cache.find(file), snapshot);

    // The same path in another version, or another path, is another file.
    EXPECT_FALSE(cache.find(identity("/a.mdb", 8192)));
    EXPECT_FALSE(cache.find(identity("/b.mdb", 4096)));
    FileIdentity touched = file;
    touched.modifiedNanoseconds += 1;
    EXPECT_FALSE(cache.find(touched));

    // A failure is remembered as a null result; a newer result replaces an older one.
    cache.remember(file, nullptr);
    ASSERT_TRUE(cache.find(file));
    EXPECT_EQ(*cache.find(file), nullptr);
}

TEST(ReadCache, ForgetsExpiredAndOldestResults) {
    ReadCache cache;
    FileIdentity expired = identity("/expired.mdb", 1);
    cache.remember(expired, nullptr, ReadCache::Clock::now() - std::chrono::seconds(1));
    EXPECT_FALSE(cache.find(expired));
    FileIdentity lasting = identity("/lasting.mdb", 1);
    cache.remember(lasting, nullptr, ReadCache::Clock::now() + std::chrono::hours(1));
    EXPECT_TRUE(cache.find(lasting));

    for (std::size_t i = 0; i < ReadCache::capacity; ++i)
        cache.remember(identity("/many.mdb", std::int64_t(i) + 100), nullptr);
    EXPECT_FALSE(cache.find(lasting));
    EXPECT_TRUE(cache.find(identity("/many.mdb", 100)));
    EXPECT_TRUE(cache.find(identity("/many.mdb", std::int64_t(ReadCache::capacity) + 99)));
}

// The opens of one comparison (ADO, a provider fallback, DAO) share one read of the file.
TEST_F(ReopenedFiles, AnUnchangedFileIsReadOnce) {
    fs::path path = mdbtest::accessFile("nwind.mdb");
    auto first = open(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(open(path), first);
    EXPECT_NE(open(mdbtest::accessFile("testV1997.mdb")), first);
}

// A file that changes is read again, whatever became of its earlier read.
TEST_F(ReopenedFiles, AChangedFileIsReadAgain) {
    fs::path path = directory_ / "changing.mdb";
    place("testV2003.mdb", path);
    auto sound = open(path);
    ASSERT_TRUE(sound);
    EXPECT_TRUE(sound->findTable(u"Table1"));

    place("testV2003.mdb", path, 3 * 4096);
    EXPECT_FALSE(open(path));
    EXPECT_FALSE(open(path));

    place("indexTestV2010.accdb", path);
    auto other = open(path);
    ASSERT_TRUE(other);
    EXPECT_NE(other, sound);
    EXPECT_TRUE(other->findTable(u"Table3"));
    EXPECT_EQ(open(path), other);
}

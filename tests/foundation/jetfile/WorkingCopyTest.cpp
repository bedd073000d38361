// The user's file changes only when a connection closes over a copy that reads back whole;
// a file another program has open is refused.

#include "SharedFiles.h"

#include "foundation/engine/jetfile/DataPage.h"
#include "foundation/engine/jetfile/WorkingCopy.h"
#include "foundation/platform/FileLock.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace engine::jetfile;
namespace fs = std::filesystem;

namespace {

class WorkingCopyTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() /
            ("jetfile-copy-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        file_ = folder_ / "db.mdb";
        fs::copy_file(jettest::sharedFile("emptyJet4.mdb"), file_);
        fs::permissions(file_,
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                        fs::perm_options::replace);
        original_ = bytes(file_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static Bytes bytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::size_t filesInFolder() const {
        return std::size_t(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    // A page no table owns, changed in a way the read-back cannot see.
    static Bytes changedPage(const WorkingCopy& copy, PageNumber page) {
        Bytes bytes = copy.read(page);
        bytes[pageSize - 1] ^= 0x5A;
        return bytes;
    }

    fs::path folder_;
    fs::path file_;
    Bytes original_;
};

TEST_F(WorkingCopyTest, AFailedStatementLeavesNothingAndCloseReplacesTheFileKeepingItsMode) {
    PageNumber last;
    {
        WorkingCopy copy(file_);
        last = copy.pageCount() - 1;
        Bytes before = copy.read(last);
        copy.write(last, changedPage(copy, last));
        copy.discardStatement();
        EXPECT_EQ(copy.read(last), before);

        PageNumber added = copy.appendPage();
        copy.write(last, changedPage(copy, last));
        EXPECT_EQ(copy.read(added), Bytes(pageSize));
        copy.commitStatement();
        EXPECT_EQ(bytes(file_), original_) << "the original changes only on close";
        copy.close();
    }
    Bytes after = bytes(file_);
    ASSERT_EQ(after.size(), original_.size() + pageSize);
    EXPECT_NE(after[last * pageSize + pageSize - 1], original_[last * pageSize + pageSize - 1]);
    EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesInFolder(), 1u) << "no working copy left behind";
}

TEST_F(WorkingCopyTest, WithoutCloseOrWhenTheCopyDoesNotReadBackTheOriginalStays) {
    {
        WorkingCopy copy(file_);
        copy.write(1, changedPage(copy, 1));
        copy.commitStatement();
    }
    EXPECT_EQ(bytes(file_), original_);
    EXPECT_EQ(filesInFolder(), 1u);

    WorkingCopy copy(file_);
    // The catalog's definition page overwritten with a data page: nothing reads back.
    DataPage empty;
    copy.write(2, empty.encode());
    copy.commitStatement();
    EXPECT_THROW(copy.close(), WriteRefused);
    EXPECT_EQ(bytes(file_), original_);
}

TEST_F(WorkingCopyTest, AFileWhoseLockFileAnotherProgramHoldsIsRefused) {
    fs::path lock = WorkingCopy::lockFileOf(file_);
    EXPECT_EQ(lock.filename(), "db.ldb");
    {
        platform::FileLock held(lock);
        ASSERT_TRUE(held.locked());
        try {
            WorkingCopy copy(file_);
            FAIL() << "opened a file in use";
        } catch (const WriteRefused& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Could not use '" + file_.string() + "'; file already in use.");
        }
    }
    // A lock file left behind unlocked does not keep the file from being written, and stays.
    {
        WorkingCopy copy(file_);
        EXPECT_EQ(copy.pageCount(), original_.size() / pageSize);
    }
    EXPECT_TRUE(fs::exists(lock));
}

// Two writers of one file: the second is refused while the first holds its lock file, so
// that neither replaces the file with a copy that lacks the other's changes.
TEST_F(WorkingCopyTest, ASecondWriterIsRefusedUntilTheFirstIsDone) {
    fs::path lock = WorkingCopy::lockFileOf(file_);
    {
        WorkingCopy first(file_);
        EXPECT_TRUE(fs::exists(lock));
        EXPECT_THROW(WorkingCopy second(file_), WriteRefused);
        first.close();
    }
    EXPECT_FALSE(fs::exists(lock)); // made for the writer, gone with it
    WorkingCopy next(file_);
    EXPECT_EQ(next.pageCount(), original_.size() / pageSize);
}

} // namespace

#include "ScratchFolder.h"

#include "foundation/platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace platform;
namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t entriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

TEST(AtomicFile, ReplacesContentAndKeepsPermissions) {
    ScratchFolder dir;
    fs::path file = dir / "settings.reg";
    ASSERT_TRUE(replaceFileAtomically(file, std::string("new\0file", 8)));
    EXPECT_EQ(contents(file), std::string("new\0file", 8));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(replaceFileAtomically(file, "second"));
    EXPECT_EQ(contents(file), "second");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entriesIn(dir.path()), 1u); // no temporary file left behind
}

TEST(AtomicFile, ReplacesTheTargetOfALinkAndKeepsTheLink) {
    ScratchFolder dir;
    fs::create_directory(dir / "dotfiles");
    fs::path real = dir / "dotfiles/registry.reg";
    std::ofstream(real) << "old";
    fs::path link = dir / "registry.reg";
    fs::create_symlink(real, link);
    ASSERT_TRUE(replaceFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(real), "new");
}

TEST(AtomicFile, FailureLeavesNothingBehind) {
    ScratchFolder dir;
    EXPECT_FALSE(replaceFileAtomically(dir / "missing/file", "x"));
    fs::create_directory(dir / "occupied");
    EXPECT_FALSE(replaceFileAtomically(dir / "occupied", "x")); // a folder is not replaced
    EXPECT_TRUE(fs::is_directory(dir / "occupied"));
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

// kelvor-schema as git's textconv driver, in a real repository: two commits of one Access
// file, and `git diff` between them shows statements, not "Binary files differ".

#include "tests/comparer/KelvorProcess.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::set<std::string> linesOf(const std::string& text) {
    std::set<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

// git in the repository, with no configuration but the repository's own.
class GitRepository {
public:
    explicit GitRepository(const fs::path& folder) : folder_(folder) {
        if (const char* home = std::getenv("HOME"))
            home_ = home;
        ::setenv("HOME", folder.c_str(), 1);
        ::setenv("GIT_CONFIG_NOSYSTEM", "1", 1);
        git({"init", "-q", "repo"}, folder);
    }
    ~GitRepository() {
        ::setenv("HOME", home_.c_str(), 1);
        ::unsetenv("GIT_CONFIG_NOSYSTEM");
    }
    GitRepository(const GitRepository&) = delete;
    GitRepository& operator=(const GitRepository&) = delete;

    fs::path path() const { return folder_ / "repo"; }

    KelvorOutcome git(std::vector<std::string> arguments) const {
        return git(std::move(arguments), path());
    }

private:
    static KelvorOutcome git(std::vector<std::string> arguments, const fs::path& in) {
        arguments.insert(arguments.begin(), {"-C", in.string(), "-c", "user.name=Test", "-c",
                                             "user.email=test@example.org"});
        return runProgram("git", arguments);
    }

    fs::path folder_;
    std::string home_;
};

} // namespace

TEST(GitTextconv, DiffShowsTheRemovedAndAddedStatementsOfAnAccessFile) {
    PrivateSettings isolated;
    ScratchFolder dir;
    GitRepository repository(dir.path());
    const fs::path shared(KEL_ACCESS_DATA_DIR);
    const fs::path before = shared / "indexTestV2003.mdb";
    const fs::path after = shared / "testV2003.mdb";

    std::ofstream(repository.path() / ".gitattributes")
        << "*.mdb diff=access\n*.accdb diff=access\n";
    ASSERT_EQ(
        repository.git({"config", "diff.access.textconv", KEL_BIN_DIR "/kelvor-schema"}).exitCode,
        0);
    fs::copy_file(before, repository.path() / "shop.mdb");
    ASSERT_EQ(repository.git({"add", "."}).exitCode, 0);
    ASSERT_EQ(repository.git({"commit", "-q", "-m", "first"}).exitCode, 0);
    fs::copy_file(after, repository.path() / "shop.mdb", fs::copy_options::overwrite_existing);
    ASSERT_EQ(repository.git({"commit", "-q", "-a", "-m", "second"}).exitCode, 0);

    KelvorOutcome diff = repository.git({"diff", "HEAD~1", "HEAD"});
    ASSERT_EQ(diff.exitCode, 0) << diff.err;
    EXPECT_EQ(diff.out.find("Binary files"), std::string::npos) << diff.out;

    const std::set<std::string> old =
        linesOf(runProgram(KEL_BIN_DIR "/kelvor-schema", {before.string()}).out);
    const std::set<std::string> now =
        linesOf(runProgram(KEL_BIN_DIR "/kelvor-schema", {after.string()}).out);
    const std::set<std::string> shown = linesOf(diff.out);
    int removed = 0;
    int added = 0;
    for (const std::string& line : old) {
        if (!now.contains(line)) {
            EXPECT_TRUE(shown.contains("-" + line)) << line;
            ++removed;
        }
    }
    for (const std::string& line : now) {
        if (!old.contains(line)) {
            EXPECT_TRUE(shown.contains("+" + line)) << line;
            ++added;
        }
    }
    EXPECT_GT(removed, 0);
    EXPECT_GT(added, 0);

    // The commits keep the files' own bytes.
    EXPECT_NE(repository.git({"diff", "--no-textconv", "HEAD~1", "HEAD"}).out.find("Binary files"),
              std::string::npos);
}

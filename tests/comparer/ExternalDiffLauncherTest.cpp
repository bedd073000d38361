#include "comparer/ExternalDiffLauncher.h"
#include "foundation/text/WideString.h"
#include "tests/comparer/FileBytes.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;
using Words = std::vector<std::u16string>;

namespace {

fs::path native(const std::u16string& path) {
    return fs::path(text::toUtf8(path));
}

// Temporary files go to a folder of the test's own, and started commands are recorded.
class ExternalDiffLauncherTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("TMPDIR", tmp.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("TMPDIR"); }

    ExternalDiffLauncher::Starter recorder() {
        return [this](const Words& words) {
            started.push_back(words);
            return true;
        };
    }

    ScratchFolder tmp;
    std::vector<Words> started;
};

} // namespace

TEST(ExternalDiffCommand, SplitsTheTemplateBeforeReplacingTheMarkers) {
    std::u16string a = u"/tmp/dir with space/KLV0A1F.TMP";
    std::u16string b = u"/tmp/%p1/KLVBEEF.TMP";
    EXPECT_EQ(externalDiffCommand(u"meld %p1 %p2", a, b), (Words{u"meld", a, b}));
    // A path inserted for one marker is never searched for the other.
    EXPECT_EQ(externalDiffCommand(u"tool %p2 %p1", a, b), (Words{u"tool", b, a}));
    EXPECT_EQ(externalDiffCommand(u"\"/opt/My Diff/bin/diff\" --left=%p1 \"%p2 %P1\" %p1%p1", a, b),
              (Words{u"/opt/My Diff/bin/diff", u"--left=" + a, b + u" %P1", a + a}));
    EXPECT_EQ(externalDiffCommand(u"kdiff3", a, b), (Words{u"kdiff3"}));
    EXPECT_EQ(externalDiffCommand(u"tool %p %p12", a, b), (Words{u"tool", u"%p", a + u"2"}));
    EXPECT_EQ(externalDiffCommand(u"", a, b), Words{});
}

TEST_F(ExternalDiffLauncherTest, WritesBothTextsAsUtf16FilesAndStartsTheCommandOnThem) {
    ExternalDiffLauncher launcher(recorder());
    launcher.run(u"meld %p1 %p2", u"CREATE TABLE [a] (\r\n[x] TEXT(20)\r\n);\r\n",
                 u"\u00e9t\u00e9 \U0001F600");
    ASSERT_EQ(started.size(), 1u);
    ASSERT_EQ(started[0].size(), 3u);
    EXPECT_EQ(started[0][0], u"meld");
    EXPECT_EQ(launcher.pendingFiles(), (Words{started[0][1], started[0][2]}));
    std::regex name(
        std::regex_replace(tmp.path().string(), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
        "/KLV[0-9A-F]{4}\\.TMP");
    for (int i = 1; i <= 2; ++i) {
        fs::path file = native(started[0][i]);
        EXPECT_TRUE(std::regex_match(file.string(), name)) << file;
        struct stat st;
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
    EXPECT_NE(started[0][1], started[0][2]);
    EXPECT_EQ(bytesOf(native(started[0][1])),
              utf16le(u"CREATE TABLE [a] (\r\n[x] TEXT(20)\r\n);\r\n"));
    EXPECT_EQ(bytesOf(native(started[0][2])), utf16le(u"\u00e9t\u00e9 \U0001F600"));
}

TEST_F(ExternalDiffLauncherTest, EmptyTextsAndTemplatesWithoutMarkersStillGiveFiles) {
    ExternalDiffLauncher launcher(recorder());
    launcher.run(u"kdiff3 --auto", u"", u"DROP TABLE [gone];");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (Words{u"kdiff3", u"--auto"}));
    ASSERT_EQ(launcher.pendingFiles().size(), 2u);
    EXPECT_EQ(bytesOf(native(launcher.pendingFiles()[0])), "\xFF\xFE");
    EXPECT_EQ(bytesOf(native(launcher.pendingFiles()[1])), utf16le(u"DROP TABLE [gone];"));
}

TEST_F(ExternalDiffLauncherTest, EachRunDeletesTheFilesOfTheRunBefore) {
    Words first;
    {
        ExternalDiffLauncher launcher(recorder());
        launcher.run(u"meld %p1 %p2", u"a", u"b");
        first = launcher.pendingFiles();
        launcher.run(u"meld %p1 %p2", u"c", u"d");
        for (const auto& path : first)
            EXPECT_FALSE(fs::exists(native(path)));
        ASSERT_EQ(launcher.pendingFiles().size(), 2u);
        first = launcher.pendingFiles();
        for (const auto& path : first)
            EXPECT_TRUE(fs::exists(native(path)));
    }
    // The launcher's end deletes what is left.
    for (const auto& path : first)
        EXPECT_FALSE(fs::exists(native(path)));
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 0);
}

TEST_F(ExternalDiffLauncherTest, AFileThatCannotBeDeletedIsTriedAgainLater) {
    ExternalDiffLauncher launcher(recorder());
    launcher.run(u"meld %p1 %p2", u"a", u"b");
    Words files = launcher.pendingFiles();
    // Something the launcher cannot unlink now stands where its first file was.
    fs::path blocked = native(files[0]);
    fs::remove(blocked);
    fs::create_directory(blocked);
    std::ofstream(blocked / "inside") << "x";

    launcher.cleanUp();
    EXPECT_EQ(launcher.pendingFiles(), Words{files[0]});
    EXPECT_FALSE(fs::exists(native(files[1])));

    fs::remove_all(blocked);
    launcher.run(u"meld %p1 %p2", u"c", u"d");
    EXPECT_EQ(launcher.pendingFiles().size(), 2u);
    EXPECT_EQ(std::count(launcher.pendingFiles().begin(), launcher.pendingFiles().end(), files[0]),
              0);
}

TEST_F(ExternalDiffLauncherTest, NoTemporaryFolderStartsNothing) {
    ::setenv("TMPDIR", (tmp.path() / "missing").c_str(), 1);
    ExternalDiffLauncher launcher(recorder());
    launcher.run(u"meld %p1 %p2", u"a", u"b");
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(launcher.pendingFiles().empty());
}

TEST_F(ExternalDiffLauncherTest, StartsTheRealProgramWithoutAShellAndWithoutWaiting) {
    fs::path result = tmp / "result";
    ExternalDiffLauncher launcher;
    // The command's own words are not shell syntax; only the started sh interprets its script.
    std::u16string command =
        text::fromUtf8("sh -c 'cat \"$0\" \"$1\" > \"$2.part\"; mv \"$2.part\" \"$2\"' "
                       "%p1 %p2 '" +
                       result.string() + "'");
    launcher.run(command, u"left", u"right");
    for (int i = 0; i < 1000 && !fs::exists(result); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(bytesOf(result), utf16le(u"left") + utf16le(u"right"));
}

#include "ScratchFolder.h"

#include "foundation/platform/Process.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

using platform::splitCommandLine;
using platform::startProcess;
namespace fs = std::filesystem;

namespace {

using Words = std::vector<std::u16string>;

std::u16string wide(const std::string& s) {
    return text::fromUtf8(s);
}

// The started program runs on its own; the test waits for its result file, not for it. The
// programs write "<path>.part" and rename it, so the file appears whole.
std::string awaitFile(const fs::path& path) {
    for (int i = 0; i < 1000 && !fs::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(SplitCommandLine, SpacesSeparateAndQuotesGroup) {
    EXPECT_EQ(splitCommandLine(u"meld %p1 %p2"), (Words{u"meld", u"%p1", u"%p2"}));
    EXPECT_EQ(splitCommandLine(u"  \tmeld\t\t%p1   %p2  "), (Words{u"meld", u"%p1", u"%p2"}));
    EXPECT_EQ(splitCommandLine(u"\"/opt/My Tool/diff\" --left %p1"),
              (Words{u"/opt/My Tool/diff", u"--left", u"%p1"}));
    EXPECT_EQ(splitCommandLine(u"tool 'it''s \"quoted\"'"), (Words{u"tool", u"its \"quoted\""}));
    EXPECT_EQ(splitCommandLine(u"tool --label=\"first file\"%p1"),
              (Words{u"tool", u"--label=first file%p1"}));
    EXPECT_EQ(splitCommandLine(u"tool \"\" x"), (Words{u"tool", u"", u"x"}));
    EXPECT_EQ(splitCommandLine(u"C:\\Tools\\diff.exe \"unclosed %p2"),
              (Words{u"C:\\Tools\\diff.exe", u"unclosed %p2"}));
    EXPECT_EQ(splitCommandLine(u""), Words{});
    EXPECT_EQ(splitCommandLine(u"   "), Words{});
}

TEST(StartProcess, RunsTheProgramWithItsWordsAndDoesNotWait) {
    ScratchFolder dir;
    fs::path out = dir / "out";
    // The words reach the program as they are: nothing is expanded by a shell.
    ASSERT_TRUE(
        startProcess({u"sh", u"-c", u"printf '%s|' \"$@\" > \"$0.part\" && mv \"$0.part\" \"$0\"",
                      wide(out.string()), u"$HOME", u"a b", u"*", u""}));
    EXPECT_EQ(awaitFile(out), "$HOME|a b|*||");
}

TEST(StartProcess, HandsOnNoFileButTheStandardStreams) {
    ScratchFolder dir;
    int fd = ::open((dir / "held").c_str(), O_WRONLY | O_CREAT, 0600); // no O_CLOEXEC
    ASSERT_GE(fd, 3);
    fs::path out = dir / "out";
    std::string script =
        "if [ -e /proc/self/fd/" + std::to_string(fd) +
        " ]; then echo inherited; else echo closed; fi > \"$0.part\"; mv \"$0.part\" \"$0\"";
    ASSERT_TRUE(startProcess({u"sh", u"-c", wide(script), wide(out.string())}));
    EXPECT_EQ(awaitFile(out), "closed\n");
    ::close(fd);
}

TEST(StartProcess, FailsForAMissingOrEmptyProgram) {
    ScratchFolder dir;
    EXPECT_FALSE(startProcess({}));
    EXPECT_FALSE(startProcess({u""}));
    EXPECT_FALSE(startProcess({u"kel-no-such-program-anywhere", u"x"}));
    EXPECT_FALSE(startProcess({wide((dir / "missing").string())}));
    fs::path notExecutable = dir / "plain";
    std::ofstream(notExecutable) << "#!/bin/sh\n";
    EXPECT_FALSE(startProcess({wide(notExecutable.string())}));
}

TEST(ProgramDirectory, IsTheFolderOfThisTestProgram) {
    auto folder = platform::programDirectory();
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->is_absolute());
    EXPECT_TRUE(fs::exists(*folder / "foundation_platform_tests"));
}

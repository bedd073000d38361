#include "foundation/platform/Console.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// Points standard output elsewhere for one test and puts it back afterwards.
class StdoutSwap {
public:
    explicit StdoutSwap(int replacement) : saved_(::dup(STDOUT_FILENO)) {
        if (replacement < 0)
            ::close(STDOUT_FILENO);
        else
            ::dup2(replacement, STDOUT_FILENO);
    }
    ~StdoutSwap() {
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
    }
    StdoutSwap(const StdoutSwap&) = delete;
    StdoutSwap& operator=(const StdoutSwap&) = delete;

private:
    int saved_;
};

} // namespace

TEST(Console, WritesTheTextInUtf8WithoutALineEnd) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    {
        StdoutSwap swap(pipeFds[1]);
        EXPECT_TRUE(platform::consoleAvailable());
        EXPECT_TRUE(platform::writeConsole(u"database schemas are identical"));
        EXPECT_TRUE(platform::writeConsole(u"\u00e9\u20ac\r\n"));
    }
    ::close(pipeFds[1]);
    std::string got(256, '\0');
    got.resize(static_cast<std::size_t>(::read(pipeFds[0], got.data(), got.size())));
    ::close(pipeFds[0]);
    EXPECT_EQ(got, "database schemas are identical\xc3\xa9\xe2\x82\xac\r\n");
}

TEST(Console, ClosedStandardOutputWritesNothing) {
    StdoutSwap swap(-1);
    EXPECT_FALSE(platform::consoleAvailable());
    EXPECT_FALSE(platform::writeConsole(u"lost"));
}

TEST(Console, AReaderThatWentAwayNeitherKillsNorBlocks) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    ::close(pipeFds[0]);
    {
        StdoutSwap swap(pipeFds[1]);
        EXPECT_FALSE(platform::writeConsole(u"nobody listens"));
    }
    ::close(pipeFds[1]);
    // The discarded signal is not left pending for later.
    sigset_t pending;
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

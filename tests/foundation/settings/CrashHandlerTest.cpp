#include "ChildProcess.h"
#include "SettingsHome.h"

#include "foundation/settings/CrashHandler.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/resource.h>

using namespace settings;
namespace fs = std::filesystem;

namespace {

struct Crash {
    int status;
    std::string messages; // what the child wrote to standard error
};

// Runs crash in a child whose standard error goes to a file, with core dumps off.
Crash crashInChild(const SettingsHome& home, const std::function<void()>& crash) {
    fs::path errors = home.root() / "stderr.txt";
    pid_t pid = startChild([&] {
        rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        installCrashHandler(kComparerDumpFile);
        crash();
    });
    int status = waitChild(pid);
    return {status, SettingsHome::read(errors)};
}

std::string savedMessage(const fs::path& dump) {
    return "Exception: The mini dump file has been saved.\n" + dump.string() +
           "\nPlease send the dump file to support@kelvor.example"
           "\nThe problem will be fixed as soon as possible.\n";
}

// Recurses until the stack runs out; the test on depth only hides that from the compiler.
int recurse(int depth) {
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return depth < 0 ? 0 : recurse(depth + 1) + frame[0];
}

[[noreturn]] void throwError() {
    throw std::runtime_error("disk on fire");
}

// The test framework catches what a test throws; an exception leaving a noexcept function
// goes straight to std::terminate.
void mustNotThrow() noexcept {
    throwError();
}

} // namespace

TEST(CrashHandler, SignalWritesTheReportAndSaysSo) {
    SettingsHome home;
    Crash crash = crashInChild(home, [] { ::raise(SIGSEGV); });
    ASSERT_TRUE(WIFEXITED(crash.status)) << crash.status;
    EXPECT_EQ(WEXITSTATUS(crash.status), 128 + SIGSEGV);

    // The data folder did not exist yet: the handler made it.
    fs::path dump = home.root() / "data/kelvor.dmp";
    EXPECT_EQ(crash.messages, savedMessage(dump));
    std::string report = SettingsHome::read(dump);
    EXPECT_NE(report.find("Signal: 11 SIGSEGV"), std::string::npos) << report;
    EXPECT_NE(report.find("Process: "), std::string::npos);
    size_t backtrace = report.find("Backtrace:\n");
    ASSERT_NE(backtrace, std::string::npos);
    EXPECT_GT(report.size(), backtrace + 20) << report; // at least one frame
    EXPECT_EQ(fs::status(dump).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(CrashHandler, FaultReportsItsAddress) {
    SettingsHome home;
    Crash crash = crashInChild(home, [] {
        void* page = ::mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        std::fprintf(stderr, "%p\n", page);
        std::fflush(stderr);
        *static_cast<volatile char*>(page) = 1;
    });
    ASSERT_TRUE(WIFEXITED(crash.status)) << crash.status;
    std::string address = crash.messages.substr(0, crash.messages.find('\n'));
    std::string report = SettingsHome::read(home.root() / "data/kelvor.dmp");
    EXPECT_NE(report.find("Address: " + address + "\n"), std::string::npos) << report;
}

TEST(CrashHandler, StackOverflowIsReportedFromTheAlternateStack) {
    SettingsHome home;
    Crash crash = crashInChild(home, [] { recurse(0); });
    ASSERT_TRUE(WIFEXITED(crash.status)) << crash.status;
    EXPECT_EQ(WEXITSTATUS(crash.status), 128 + SIGSEGV);
    EXPECT_EQ(crash.messages, savedMessage(home.root() / "data/kelvor.dmp"));
}

TEST(CrashHandler, UncaughtExceptionIsReportedWithItsText) {
    SettingsHome home;
    Crash crash = crashInChild(home, [] { mustNotThrow(); });
    ASSERT_TRUE(WIFEXITED(crash.status)) << crash.status;
    EXPECT_EQ(WEXITSTATUS(crash.status), 128 + SIGABRT);
    std::string report = SettingsHome::read(home.root() / "data/kelvor.dmp");
    EXPECT_NE(report.find("std::terminate, exception nothing caught: disk on fire"),
              std::string::npos)
        << report;
}

TEST(CrashHandler, ReportThatCannotBeCreatedLeavesTheDefaultHandling) {
    SettingsHome home;
    std::ofstream(home.root() / "data") << "a file where the data folder belongs";
    Crash crash = crashInChild(home, [] { ::raise(SIGFPE); });
    EXPECT_EQ(crash.messages, "Exception: Can't create the dump file\n");
    ASSERT_TRUE(WIFSIGNALED(crash.status)) << crash.status;
    EXPECT_EQ(WTERMSIG(crash.status), SIGFPE);
}

TEST(CrashHandler, ReportIsNeverWrittenThroughALink) {
    SettingsHome home;
    fs::create_directories(home.root() / "data");
    fs::create_symlink(home.root() / "victim", home.root() / "data/kelvor.dmp");
    Crash crash = crashInChild(home, [] { ::raise(SIGBUS); });
    EXPECT_EQ(crash.messages, "Exception: Can't create the dump file\n");
    EXPECT_FALSE(fs::exists(home.root() / "victim"));
}

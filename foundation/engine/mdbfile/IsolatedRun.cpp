#include "foundation/engine/mdbfile/IsolatedRun.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace engine::mdbfile {

namespace {

using Clock = std::chrono::steady_clock;

// More than any schema; a child writing this much is running wild.
constexpr std::size_t maxResultBytes = std::size_t(1) << 30;

constexpr int failedExit = 3;

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

// Caps the child's address space at what it has now plus the budget.
void limitMemory(std::size_t budget) {
    if (!memoryBudgetApplies())
        return;
    unsigned long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    if (pages == 0)
        return;
    rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + rlim_t(budget);
    rlimit cap{limit, limit};
    ::setrlimit(RLIMIT_AS, &cap);
}

[[noreturn]] void runChild(int out, const std::function<std::vector<std::uint8_t>()>& work,
                           std::size_t memoryBudget) {
    limitMemory(memoryBudget);
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGPIPE})
        std::signal(signal, SIG_DFL);
    int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0) {
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
    }
    try {
        std::vector<std::uint8_t> result = work();
        ::_exit(writeAll(out, result) ? 0 : failedExit);
    } catch (...) {
        ::_exit(failedExit);
    }
}

// Rounded up: a wait that ends before the deadline would be taken for a failure.
int millisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() <= 0 ? 0 : int(left.count());
}

// Reads the child's output until it closes the pipe; false at the deadline or on a failure.
bool readUntilClosed(int in, Clock::time_point deadline, std::vector<std::uint8_t>& bytes) {
    std::uint8_t buffer[65536];
    for (;;) {
        pollfd pfd{in, POLLIN, 0};
        int ready = ::poll(&pfd, 1, millisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (bytes.size() + std::size_t(n) > maxResultBytes)
            return false;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

// Waits for the child's exit status until the deadline; false when it is still running then.
bool waitUntil(pid_t child, Clock::time_point deadline, int& status) {
    for (;;) {
        pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return true;
        if (done < 0 && errno != EINTR)
            return false;
        if (Clock::now() >= deadline)
            return false;
        ::usleep(1000);
    }
}

void killAndReap(pid_t child) {
    ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

bool memoryBudgetApplies() {
    return !sanitized;
}

IsolatedResult runIsolated(const std::function<std::vector<std::uint8_t>()>& work,
                           std::chrono::milliseconds limit, std::size_t memoryBudget) {
    IsolatedResult result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return result;
    // A child that ends through exit() (libmdb does on some damaged files) flushes the
    // buffers it inherited: they must be empty, or their text would appear twice.
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return result;
    }
    if (child == 0) {
        ::close(fds[0]);
        runChild(fds[1], work, memoryBudget);
    }
    ::close(fds[1]);
    Clock::time_point deadline = Clock::now() + limit;
    bool closed = readUntilClosed(fds[0], deadline, result.bytes);
    ::close(fds[0]);
    int status = 0;
    if (!closed || !waitUntil(child, deadline, status)) {
        killAndReap(child);
        result.outcome =
            Clock::now() >= deadline ? IsolatedOutcome::TimedOut : IsolatedOutcome::Failed;
        result.bytes.clear();
        return result;
    }
    if (WIFSIGNALED(status))
        result.outcome = IsolatedOutcome::Crashed;
    else if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        result.outcome = IsolatedOutcome::Completed;
    else
        result.outcome = IsolatedOutcome::Failed;
    if (result.outcome != IsolatedOutcome::Completed)
        result.bytes.clear();
    return result;
}

} // namespace engine::mdbfile

#include "foundation/platform/Console.h"

#include "foundation/text/WideString.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace platform {

namespace {

// Blocks SIGPIPE for the calling thread while a write runs, and discards the one that a write
// to a closed pipe raised, so that the write fails with EPIPE instead of ending the process.
class PipeSignalGuard {
public:
    PipeSignalGuard() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~PipeSignalGuard() {
        if (!alreadyPending_) {
            timespec now{0, 0};
            while (sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    PipeSignalGuard(const PipeSignalGuard&) = delete;
    PipeSignalGuard& operator=(const PipeSignalGuard&) = delete;

private:
    sigset_t pipe_;
    sigset_t previous_;
    bool alreadyPending_ = false;
};

int descriptorOf(ConsoleStream stream) {
    return stream == ConsoleStream::Error ? STDERR_FILENO : STDOUT_FILENO;
}

} // namespace

bool consoleAvailable(ConsoleStream stream) {
    return ::fcntl(descriptorOf(stream), F_GETFD) != -1;
}

bool writeConsole(std::u16string_view text, ConsoleStream stream) {
    std::string bytes = text::toUtf8(text);
    return writeConsoleBytes(bytes.data(), bytes.size(), stream);
}

bool writeConsoleBytes(const void* bytes, std::size_t count, ConsoleStream stream) {
    if (!consoleAvailable(stream))
        return false;
    const int descriptor = descriptorOf(stream);
    const char* data = static_cast<const char*>(bytes);
    PipeSignalGuard guard;
    std::size_t done = 0;
    while (done < count) {
        ssize_t written = ::write(descriptor, data + done, count - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace platform

#include "foundation/platform/CrashReport.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Everything below runs inside a signal handler: no allocation, no stdio, no locks.

const char* signalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV (invalid memory access)";
    case SIGABRT:
        return "SIGABRT (abort)";
    case SIGFPE:
        return "SIGFPE (arithmetic error)";
    case SIGILL:
        return "SIGILL (illegal instruction)";
    case SIGBUS:
        return "SIGBUS (bus error)";
    default:
        return "unexpected signal";
    }
}

class ReportWriter {
public:
    explicit ReportWriter(int fd) : fd_(fd) {}

    bool ok() const { return ok_; }

    ReportWriter& text(const char* s) {
        std::size_t n = std::strlen(s);
        while (ok_ && n > 0) {
            ssize_t written = ::write(fd_, s, n);
            if (written < 0 && errno == EINTR)
                continue;
            ok_ = written > 0;
            if (ok_) {
                s += written;
                n -= static_cast<std::size_t>(written);
            }
        }
        return *this;
    }

    ReportWriter& number(std::uintmax_t value, unsigned base = 10) {
        char digits[3 * sizeof value + 1];
        char* p = digits + sizeof digits;
        *--p = '\0';
        do {
            *--p = "0123456789abcdef"[value % base];
            value /= base;
        } while (value != 0);
        if (base == 16)
            text("0x");
        return text(p);
    }

    ReportWriter& backtrace() {
        void* frames[64];
        int count = ::backtrace(frames, 64);
        if (ok_)
            backtrace_symbols_fd(frames, count, fd_);
        return *this;
    }

private:
    int fd_;
    bool ok_ = true;
};

// mkdir -p of the folders of path; failures show when the file is created.
void createFolders(const char* path) {
    char partial[PATH_MAX];
    std::size_t length = std::strlen(path);
    if (length >= sizeof partial)
        return;
    std::memcpy(partial, path, length + 1);
    for (std::size_t i = 1; i < length; ++i) {
        if (partial[i] != '/')
            continue;
        partial[i] = '\0';
        ::mkdir(partial, 0700);
        partial[i] = '/';
    }
}

} // namespace

CrashReportResult writeCrashReport(const char* path, const FatalEvent& event) {
    createFolders(path);
    int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return CrashReportResult::CannotCreate;

    ReportWriter report(fd);
    report.text("Crash report\n");
    if (event.terminate) {
        report.text("Reason: std::terminate");
        if (event.detail)
            report.text(", exception nothing caught: ").text(event.detail);
        report.text("\n");
    } else {
        report.text("Signal: ").number(static_cast<unsigned>(event.signal)).text(" ");
        report.text(signalName(event.signal)).text("\n");
    }
    if (event.hasAddress)
        report.text("Address: ")
            .number(reinterpret_cast<std::uintptr_t>(event.address), 16)
            .text("\n");
    report.text("Process: ").number(static_cast<std::uintmax_t>(::getpid())).text("\n");
    report.text("Time: ").number(static_cast<std::uintmax_t>(std::time(nullptr)));
    report.text(" (seconds since 1970-01-01 UTC)\n");
    report.text("Backtrace:\n").backtrace();

    bool written = report.ok() && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    return written ? CrashReportResult::Written : CrashReportResult::CannotWrite;
}

} // namespace platform

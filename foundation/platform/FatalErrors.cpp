#include "foundation/platform/FatalErrors.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <execinfo.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS};

std::atomic<FatalHandler> currentHandler{nullptr};
// The thread that is handling a failure; 0 while none is.
std::atomic<long> handlingThread{0};

// Large enough for the message box that the handler may show.
alignas(16) char alternateStack[1 << 20];

void dieByDefault(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(128 + signal); // when the signal was only pending
}

// Runs the handler once for the process; see FatalHandler for the other cases.
void handle(const FatalEvent& event) {
    long self = syscall(SYS_gettid);
    long idle = 0;
    if (!handlingThread.compare_exchange_strong(idle, self)) {
        if (idle == self)
            dieByDefault(event.signal);
        for (;;)
            pause();
    }
    FatalHandler handler = currentHandler.load();
    if (handler && handler(event))
        _exit(128 + event.signal);
    dieByDefault(event.signal);
}

void onSignal(int signal, siginfo_t* info, void*) {
    // Only faults raised by the kernel carry an address; raise() and kill() do not.
    bool hasAddress = info && info->si_code > 0;
    handle({signal, false, hasAddress, hasAddress ? info->si_addr : nullptr, nullptr});
}

void onTerminate() {
    const char* detail = nullptr;
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            detail = e.what();
        } catch (...) {
            detail = "an exception not derived from std::exception";
        }
    }
    handle({SIGABRT, true, false, nullptr, detail});
}

} // namespace

void installFatalHandler(FatalHandler handler) {
    currentHandler = handler;

    // The first backtrace() loads the unwinder, which a signal handler must not do.
    void* frames[1];
    backtrace(frames, 1);

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = onSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        sigaddset(&action.sa_mask, signal);
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);

    std::set_terminate(onTerminate);
}

} // namespace platform

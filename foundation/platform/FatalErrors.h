#pragma once

// Catching what would otherwise end the process without a word: the fatal signals SIGSEGV,
// SIGABRT, SIGFPE, SIGILL and SIGBUS, and std::terminate (an exception that nothing caught).

namespace platform {

struct FatalEvent {
    int signal;      // the signal; SIGABRT for std::terminate
    bool terminate;  // true when std::terminate was called
    bool hasAddress; // the kernel reported the faulting address (null is one, too)
    const void* address;
    const char* detail; // what() of the exception nothing caught, else null
};

// Returns true when it dealt with the failure: the process then ends at once with exit code
// 128 + signal. False hands the failure to the system's default handling (a core dump where
// enabled). A handler running for a signal must stick to async-signal-safe calls until it
// has saved what must survive; a second failure inside it gets the default handling, and a
// failure on another thread meanwhile waits for the first to end the process.
using FatalHandler = bool (*)(const FatalEvent& event);

// Installs the handler for the whole process. The signal handler runs on an alternate stack
// of the calling thread, so a stack overflow there is still reported.
void installFatalHandler(FatalHandler handler);

} // namespace platform

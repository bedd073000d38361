#pragma once

// Runs a piece of a test in a child process, for what must not happen in the test runner
// itself: crashing, or racing another process.

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// Starts body in a child that ends with _exit(0) when body returns.
inline pid_t startChild(const std::function<void()>& body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    return pid;
}

// The wait status of the child.
inline int waitChild(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

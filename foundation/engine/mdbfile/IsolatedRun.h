#pragma once

// Runs a piece of work in a child process with a time limit and takes back the bytes it
// produced. libmdb trusts the files it reads and can crash or loop on a damaged one; in a
// child, a crash or a hang becomes an outcome the caller reports instead of the end of the
// program.

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace engine::mdbfile {

enum class IsolatedOutcome {
    Completed, // the work returned; bytes holds its result
    Failed,    // the work threw, or the child exited with an error
    Crashed,   // the child died of a signal
    TimedOut,  // the child was killed at the time limit
};

struct IsolatedResult {
    IsolatedOutcome outcome = IsolatedOutcome::Failed;
    std::vector<std::uint8_t> bytes;
};

// The child runs with the default handlers for crash signals (no crash report of the parent's)
// and without standard output and error (libmdb's dumps and complaints about a damaged file
// are not for the user).
IsolatedResult runIsolated(const std::function<std::vector<std::uint8_t>()>& work,
                           std::chrono::milliseconds limit);

} // namespace engine::mdbfile

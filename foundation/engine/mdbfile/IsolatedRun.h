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

inline constexpr std::size_t defaultMemoryBudget = std::size_t(1) << 30;

struct IsolatedResult {
    IsolatedOutcome outcome = IsolatedOutcome::Failed;
    std::vector<std::uint8_t> bytes;
};

// The child runs with the default handlers for crash signals (no crash report of the parent's)
// and without standard output and error (libmdb's dumps and complaints about a damaged file
// are not for the user). It may allocate memoryBudget bytes beyond what it inherits: an
// allocation past that fails, which ends a child that allocates without end long before the
// machine runs short (not in sanitizer builds, whose shadow memory the limit would break).
IsolatedResult runIsolated(const std::function<std::vector<std::uint8_t>()>& work,
                           std::chrono::milliseconds limit,
                           std::size_t memoryBudget = defaultMemoryBudget);

// False in sanitizer builds, where the child's memory is not limited.
bool memoryBudgetApplies();

} // namespace engine::mdbfile

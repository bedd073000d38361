#pragma once

// The moment after which the bisection stops refining and reports what is left as one
// deletion and one insertion. The clock is injectable so that tests can make it fire.

#include <chrono>
#include <cstdint>
#include <functional>

namespace diff {

class Deadline {
public:
    // Milliseconds on any monotonic scale.
    using Clock = std::function<std::int64_t()>;

    Deadline(Clock clock, std::int64_t at) : clock_(std::move(clock)), at_(at) {}

    // `budget` from now on the steady clock.
    static Deadline fromNow(std::chrono::milliseconds budget);

    bool passed() const { return clock_() > at_; }

private:
    Clock clock_;
    std::int64_t at_;
};

} // namespace diff

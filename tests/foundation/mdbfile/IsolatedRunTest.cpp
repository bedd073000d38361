#include "foundation/engine/mdbfile/IsolatedRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

using namespace engine::mdbfile;
using namespace std::chrono_literals;

namespace {

volatile std::sig_atomic_t parentHandlerRan = 0;
void parentHandler(int) {
    parentHandlerRan = 1;
}

} // namespace

TEST(IsolatedRun, HandsBackWhatTheWorkProduced) {
    std::vector<std::uint8_t> big(10 << 20);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = std::uint8_t(i * 7);
    IsolatedResult result = runIsolated([&] { return big; }, 20s);
    EXPECT_EQ(result.outcome, IsolatedOutcome::Completed);
    EXPECT_EQ(result.bytes, big);

    result = runIsolated([] { return std::vector<std::uint8_t>(); }, 20s);
    EXPECT_EQ(result.outcome, IsolatedOutcome::Completed);
    EXPECT_TRUE(result.bytes.empty());
}

// A crash in the child is the child's: the parent's own handler (the crash report) does not
// run, and the parent goes on.
TEST(IsolatedRun, ACrashBecomesAnOutcome) {
    auto previous = std::signal(SIGSEGV, parentHandler);
    IsolatedResult result = runIsolated(
        []() -> std::vector<std::uint8_t> {
            std::raise(SIGSEGV);
            return {1};
        },
        20s);
    std::signal(SIGSEGV, previous);
    EXPECT_EQ(result.outcome, IsolatedOutcome::Crashed);
    EXPECT_TRUE(result.bytes.empty());
    EXPECT_EQ(parentHandlerRan, 0);

    result = runIsolated([]() -> std::vector<std::uint8_t> { std::abort(); }, 20s);
    EXPECT_EQ(result.outcome, IsolatedOutcome::Crashed);
}

TEST(IsolatedRun, AnEndlessLoopIsKilledAtTheLimit) {
    auto start = std::chrono::steady_clock::now();
    IsolatedResult result = runIsolated(
        []() -> std::vector<std::uint8_t> {
            for (volatile bool forever = true; forever;) {
            }
            return {};
        },
        300ms);
    EXPECT_EQ(result.outcome, IsolatedOutcome::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);

    EXPECT_TRUE(result.bytes.empty());
}

TEST(IsolatedRun, FailuresOfTheWorkAreFailures) {
    EXPECT_EQ(runIsolated([]() -> std::vector<std::uint8_t> { throw std::runtime_error("x"); }, 20s)
                  .outcome,
              IsolatedOutcome::Failed);
    // libmdb itself calls exit() on some damaged files.
    EXPECT_EQ(runIsolated([]() -> std::vector<std::uint8_t> { std::exit(1); }, 20s).outcome,
              IsolatedOutcome::Failed);
}

// A child that allocates without end (libmdb does on some damaged property blocks) fails at its
// memory budget instead of taking the machine's memory until the time limit; work within the
// budget is not disturbed.
TEST(IsolatedRun, MemoryBeyondTheBudgetIsRefused) {
    if (!memoryBudgetApplies())
        GTEST_SKIP() << "sanitizer builds limit no memory";
    constexpr std::size_t budget = 64 << 20;
    auto hoard = [](std::size_t bytes) {
        return [bytes]() -> std::vector<std::uint8_t> {
            std::vector<std::unique_ptr<char[]>> blocks;
            for (std::size_t taken = 0; taken < bytes; taken += 1 << 20) {
                blocks.emplace_back(new char[1 << 20]);
                std::memset(blocks.back().get(), 1, 1 << 20);
            }
            return {1};
        };
    };
    auto start = std::chrono::steady_clock::now();
    IsolatedResult endless = runIsolated(hoard(std::size_t(1) << 40), 20s, budget);
    EXPECT_TRUE(endless.outcome == IsolatedOutcome::Failed ||
                endless.outcome == IsolatedOutcome::Crashed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    EXPECT_EQ(runIsolated(hoard(budget / 4), 20s, budget).outcome, IsolatedOutcome::Completed);
}

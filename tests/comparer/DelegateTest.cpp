#include "comparer/Delegate.h"

#include <gtest/gtest.h>

namespace {

struct Counter {
    int calls = 0;
    int last = 0;
    void bump() { ++calls; }
    bool yes() { return true; }
    void remember(bool flag, int value) { last = flag ? value : -value; }
};

// Counts its own destruction, to see who deletes a target.
class TrackedTarget : public rion::delegate<void()>::Target {
public:
    explicit TrackedTarget(int& destroyed) : destroyed_(destroyed) {}
    ~TrackedTarget() override { ++destroyed_; }
    void invoke() override {}

private:
    int& destroyed_;
};

} // namespace

TEST(Delegate, EmptyUntilBoundThenCallsTheMemberFunction) {
    Counter counter;
    rion::delegate<void()> onCompare;
    rion::delegate<bool()> isCompareAtStart;
    rion::delegate<void(bool, int)> onTipsClosed;
    EXPECT_FALSE(onCompare);
    EXPECT_FALSE(isCompareAtStart);

    onCompare.bind(counter, &Counter::bump);
    isCompareAtStart.bind(counter, &Counter::yes);
    onTipsClosed.bind(counter, &Counter::remember);
    ASSERT_TRUE(onCompare);
    onCompare();
    onCompare();
    EXPECT_EQ(counter.calls, 2);
    EXPECT_TRUE(isCompareAtStart());
    onTipsClosed(false, 4);
    EXPECT_EQ(counter.last, -4);
}

TEST(Delegate, OwnsItsTargetAndDeletesItWhenReplacedOrDestroyed) {
    int destroyed = 0;
    {
        rion::delegate<void()> slot;
        slot.bind(std::make_unique<TrackedTarget>(destroyed));
        slot.bind(std::make_unique<TrackedTarget>(destroyed));
        EXPECT_EQ(destroyed, 1);
        slot.reset();
        EXPECT_EQ(destroyed, 2);
        EXPECT_FALSE(slot);
        slot.bind(std::make_unique<TrackedTarget>(destroyed));
    }
    EXPECT_EQ(destroyed, 3);
}

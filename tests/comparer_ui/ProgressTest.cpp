// The progress bar of a reading that runs on the window's thread.

#include "comparer/ui/Progress.h"
#include "tests/comparer_ui/QtTestSupport.h"

#include <QProgressBar>
#include <QTest>

#include <chrono>
#include <thread>

namespace {

TEST(ProgressTest, StepsAdvanceTheBarWithinItsRange) {
    QProgressBar bar;
    Progress progress(bar);
    progress.start(3);
    EXPECT_EQ(bar.maximum(), 3);
    EXPECT_EQ(bar.value(), 0);
    progress.step();
    progress.step();
    EXPECT_EQ(bar.value(), 2);
    progress.step();
    progress.step(); // one step too many stays at the end
    EXPECT_EQ(bar.value(), 3);
    progress.reset();
    EXPECT_EQ(bar.value(), 0);
    progress.start(40000); // more than 16 bits can count
    progress.finish();
    EXPECT_EQ(bar.value(), 40000);
}

TEST(ProgressTest, ALongReadingLetsTheWindowHandleItsEvents) {
    QProgressBar bar;
    Progress progress(bar);
    bool handled = false;
    QTimer::singleShot(0, [&handled] { handled = true; });
    progress.start(30);
    for (int i = 0; i < 30 && !handled; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        progress.step();
    }
    EXPECT_TRUE(handled);
}

} // namespace

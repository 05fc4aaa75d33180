#include <gtest/gtest.h>

#include <thread>

#include "sound/x_timer.h"

namespace orvena {
namespace {

TEST(xTimer, StartThenHaltAtOnceIsAboutZeroAndReadsRepeatably) {
    xTimer t;
    t.Calibrieren();
    t.Start();
    t.Halt();
    const double first = t.RunTime();
    EXPECT_LT(std::abs(first), 1.0);
    EXPECT_EQ(t.RunTime(), first);
}

TEST(xTimer, MeasuresASleepInMilliseconds) {
    xTimer t;
    t.Calibrieren();
    t.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    t.Halt();
    EXPECT_GE(t.RunTime(), 19.0);
    EXPECT_LT(t.RunTime(), 2000.0);  // generous: sanitizers and loaded machines are slow
}

TEST(xTimer, CalibrationDiscardsAnEarlierStart) {
    xTimer t;
    t.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    t.Calibrieren();
    t.Halt();
    EXPECT_LT(t.RunTime(), 15.0);  // measured from the calibration's own first read
}

TEST(xTimer, ReadingBeforeAnyStartUsesZeroCounts) {
    xTimer t;
    EXPECT_EQ(t.RunTime(), 0.0);
}

}  // namespace
}  // namespace orvena

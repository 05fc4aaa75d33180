#include <gtest/gtest.h>

#include <thread>

#include "sound/x_timer.h"

namespace orvena {
namespace {

// Milliseconds between Start and Halt less the calibrated overhead; calibrating discards an
// earlier start. Upper bounds are generous: sanitizers and loaded machines are slow.
TEST(xTimer, ReadsTheTimeBetweenStartAndHalt) {
    struct Case {
        bool calibrate_after_start;
        int sleep_ms;
        double at_least, below;
    };
    const Case cases[] = {{false, 0, -1.0, 1.0}, {false, 20, 19.0, 2000.0}, {true, 20, -1.0, 15.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sleep_ms << " ms " << c.calibrate_after_start);
        xTimer t;
        if (!c.calibrate_after_start) t.Calibrieren();
        t.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(c.sleep_ms));
        if (c.calibrate_after_start) t.Calibrieren();
        t.Halt();
        const double ms = t.RunTime();
        EXPECT_GE(ms, c.at_least);
        EXPECT_LT(ms, c.below);
        EXPECT_EQ(t.RunTime(), ms) << "reads repeatably";
    }
    EXPECT_EQ(xTimer().RunTime(), 0.0) << "before any start";
}

}  // namespace
}  // namespace orvena

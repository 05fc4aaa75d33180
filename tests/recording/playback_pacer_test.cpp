#include "recording/playback_pacer.h"

#include <gtest/gtest.h>

#include "support/recording_dialogs.h"

namespace orvena {
namespace {

using test::CountingEventPump;
using test::RecordingClock;

// A replay whose notes each take 7 ms to sound: every wait still ends on its deadline from the
// start, a deadline already past costs no wait, and the window is repainted during long waits.
TEST(PlaybackPacer, EndsEachWaitAtItsDeadlineFromTheStartWithoutDrift) {
    RecordingClock clock;
    clock.now = 1000.5;
    CountingEventPump pump;
    PlaybackPacer pacer(clock, pump);
    pacer.start();
    struct Step {
        double deadline;
        double expected_now;
    };
    const Step steps[] = {{0, 1000.5},   {100, 1100.5},  {105, 1107.5},  // 105 passed during work
                          {-20, 1114.5}, {2000, 3000.5}, {2003, 3007.5}};
    for (const Step& step : steps) {
        pacer.wait_until(step.deadline);
        EXPECT_DOUBLE_EQ(clock.now, step.expected_now) << "deadline " << step.deadline;
        clock.now += 7;  // sounding the note
    }
    EXPECT_GT(pump.non_input_calls, 300);  // ≈ once per 5 ms over the two long waits
    EXPECT_EQ(pump.calls, 0);              // input is never handled while waiting

    pacer.start();  // a start off the millisecond grid ends at or just after the deadline
    clock.now += 0.3;
    pacer.wait_until(12);
    EXPECT_GE(clock.now, 3026.5);
    EXPECT_LT(clock.now, 3027.5);
}

}  // namespace
}  // namespace orvena

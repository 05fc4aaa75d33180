// How much sound the output keeps in hand after a history of dropouts, as the output plays
// (the policy is asked every 100 ms, as blocks are).

#include "sound/block_size_policy.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvena {
namespace {

struct History {
    const char* name;
    unsigned start_block;
    bool chosen;                    // the player chose the block
    std::vector<int> underruns_ms;  // from the start, in order
    int end_ms;
    BufferSize expected;
};

BufferSize play(const History& h) {
    const auto start = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    BlockSizePolicy policy(h.start_block, h.chosen, start);
    std::size_t next = 0;
    for (int t = 0; t <= h.end_ms; t += 100) {
        for (; next < h.underruns_ms.size() && h.underruns_ms[next] <= t; ++next) {
            policy.underrun(start + std::chrono::milliseconds(h.underruns_ms[next]));
        }
        policy.tick(start + std::chrono::milliseconds(t));
    }
    return policy.size();
}

TEST(BlockSizePolicy, GrowsWithRepeatedDropoutsAndComesBackAfterAQuietMinute) {
    // clang-format off
    const History cases[] = {
        {"NoDropouts", 128, false, {}, 600000, {128, 2}},
        {"OneDropout", 128, false, {1000}, 1000, {128, 3}},
        {"TwoDropouts", 128, false, {1000, 2000}, 2000, {128, 4}},
        {"ThirdDropoutTakesTheNextBlock", 128, false, {1000, 2000, 3000}, 3000, {256, 3}},
        {"FourthAddsABlockAgain", 128, false, {1000, 2000, 3000, 4000}, 4000, {256, 4}},
        {"Fifth", 128, false, {1000, 2000, 3000, 4000, 5000}, 5000, {512, 3}},
        {"NoFurtherThan1024", 128, false,
         {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000}, 10000, {1024, 4}},
        {"ABurstIsOneStall", 128, false, {1000, 1100, 1200, 1400}, 1400, {128, 3}},
        {"AfterTheSettlingTimeAgain", 128, false, {1000, 1500}, 1500, {128, 4}},
        {"JustBeforeTheSettlingTimeEnds", 128, false, {1000, 1499}, 1500, {128, 3}},
        {"TheFirstFillOfTheStream", 128, false, {200}, 200, {128, 2}},
        {"ChosenBlockStays", 128, true, {1000, 2000, 3000, 4000, 5000}, 5000, {128, 4}},
        {"ChosenLargeBlockStays", 2048, true, {1000, 2000, 3000}, 3000, {2048, 4}},
        {"LargestAutomaticStart", 1024, false, {1000, 2000, 3000, 4000}, 4000, {1024, 4}},
        {"FromHalfTheLargest", 512, false, {1000, 2000, 3000, 4000}, 4000, {1024, 4}},
        {"QuietMinuteStepsBack", 128, false, {1000, 2000, 3000}, 63000, {128, 4}},
        {"AlmostAQuietMinute", 128, false, {1000}, 60900, {128, 3}},
        {"AQuietMinute", 128, false, {1000}, 61000, {128, 2}},
        {"TwoQuietMinutes", 128, false, {1000, 2000, 3000}, 123000, {128, 3}},
        {"ThreeQuietMinutesBackAtTheStart", 128, false, {1000, 2000, 3000}, 183000, {128, 2}},
        {"NeverBelowTheStart", 128, false, {1000}, 600000, {128, 2}},
        {"ADropoutRestartsTheQuietMinute", 128, false, {1000, 50000}, 109000, {128, 4}},
        {"ThenItStepsBack", 128, false, {1000, 50000}, 110000, {128, 3}},
        {"ChosenBlockComesBackToo", 256, true, {1000, 2000, 3000}, 63000, {256, 3}},
        // Stepped back at 62 s, dropouts again at 70 s: the next step back waits 120 s.
        {"ABusyMachineWaitsTwiceAsLong", 128, false, {1000, 2000, 70000}, 189900, {128, 4}},
        {"ThenStepsBack", 128, false, {1000, 2000, 70000}, 190000, {128, 3}},
        {"AndLongerStill", 128, false, {1000, 2000, 70000, 200000}, 439900, {128, 4}},
        {"AfterFourMinutes", 128, false, {1000, 2000, 70000, 200000}, 440000, {128, 3}},
        // Back at the start at 61 s; a dropout at 150 s is no sign of a busy machine.
        {"ALateDropoutKeepsTheMinute", 128, false, {1000, 150000}, 210000, {128, 2}},
    };
    // clang-format on
    for (const History& h : cases) {
        const BufferSize got = play(h);
        EXPECT_EQ(got, h.expected) << h.name << ": " << got.block_frames << " x " << got.blocks;
    }
}

}  // namespace
}  // namespace orvena

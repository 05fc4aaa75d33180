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
    SizeChange why;
};

constexpr auto none = SizeChange::none, grew = SizeChange::grew, quiet = SizeChange::quiet,
               no_help = SizeChange::did_not_help;

BlockSizePolicy play(const History& h) {
    const auto start = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    BlockSizePolicy policy(h.start_block, h.chosen, start);
    std::size_t next = 0;
    for (int t = 0; t <= h.end_ms; t += 100) {
        for (; next < h.underruns_ms.size() && h.underruns_ms[next] <= t; ++next) {
            policy.underrun(start + std::chrono::milliseconds(h.underruns_ms[next]));
        }
        policy.tick(start + std::chrono::milliseconds(t));
    }
    return policy;
}

void expect_all(const std::vector<History>& cases) {
    for (const History& h : cases) {
        const BlockSizePolicy policy = play(h);
        const BufferSize got = policy.size();
        EXPECT_EQ(got, h.expected) << h.name << ": " << got.block_frames << " x " << got.blocks;
        EXPECT_EQ(policy.last_change(), h.why) << h.name;
    }
}

// Each step up has to beat the time between the dropouts before it.
TEST(BlockSizePolicy, GrowsOnlyWhileMoreInHandMakesTheDropoutsRarer) {
    // clang-format off
    expect_all({
        {"NoDropouts", 128, false, {}, 600000, {128, 2}, none},
        {"OneDropoutOnlyStartsCounting", 128, false, {1000}, 1000, {128, 2}, none},
        {"ARepeatedDropoutAddsABlock", 128, false, {1000, 2000}, 2000, {128, 3}, grew},
        {"AsOftenAfterTheStepIsNoHelp", 128, false, {1000, 2000, 3000}, 3000, {128, 2}, no_help},
        {"NorIsItTriedAgainSoon", 128, false, {1000, 2000, 3000, 4000, 5000}, 5000, {128, 2},
         no_help},
        {"JustBeforeTenMinutes", 128, false, {1000, 2000, 3000, 601000, 602000}, 602000,
         {128, 2}, no_help},
        {"TriedAgainAfterTenMinutes", 128, false, {1000, 2000, 3000, 603000, 604000}, 604000,
         {128, 3}, grew},
        {"RarerAfterTheStep", 128, false, {1000, 2000, 3100}, 3100, {128, 4}, grew},
        {"ThirdStepTakesTheNextBlock", 128, false, {1000, 2000, 3500, 5500}, 5500, {256, 3},
         grew},
        {"OnlyTheStepThatDidNotHelpIsUndone", 128, false, {1000, 2000, 3500, 4500}, 4500,
         {128, 3}, no_help},
        {"NoFurtherThan1024", 128, false,
         {1000, 2000, 3500, 5500, 8000, 11000, 14500, 19000, 24000, 29500}, 29500, {1024, 4},
         grew},
        {"ABurstIsOneStall", 128, false, {1000, 1100, 1200, 1400}, 1400, {128, 2}, none},
        {"TheBurstEndsAtItsFirst", 128, false, {1000, 1100, 1200, 1400, 2000}, 2000, {128, 3},
         grew},
        {"AfterTheSettlingTimeAgain", 128, false, {1000, 1500}, 1500, {128, 3}, grew},
        {"JustBeforeTheSettlingTimeEnds", 128, false, {1000, 1499}, 1500, {128, 2}, none},
        {"TheStepsOwnSettlingTime", 128, false, {1000, 2000, 2100, 2400}, 2400, {128, 3}, grew},
        {"TheFirstFillOfTheStream", 128, false, {200, 900}, 900, {128, 2}, none},
        {"AMinuteApartIsNoRepeat", 128, false, {1000, 61000}, 61000, {128, 2}, none},
        {"JustUnderAMinuteApart", 128, false, {1000, 60900}, 60900, {128, 3}, grew},
        {"ChosenBlockStays", 128, true, {1000, 2000, 3500, 5500, 8000}, 8000, {128, 4}, grew},
        {"ChosenLargeBlockStays", 2048, true, {1000, 2000, 3500}, 3500, {2048, 4}, grew},
        {"ChosenBlockUndoneToo", 256, true, {1000, 2000, 2600}, 2600, {256, 2}, no_help},
        {"LargestAutomaticStart", 1024, false, {1000, 2000, 3500, 5500}, 5500, {1024, 4}, grew},
        {"FromHalfTheLargest", 512, false, {1000, 2000, 3500, 5500, 8000, 11000}, 11000,
         {1024, 4}, grew},
    });
    // clang-format on
}

TEST(BlockSizePolicy, ComesBackAfterAQuietMinuteAndLaterOnABusyMachine) {
    // clang-format off
    expect_all({
        {"AlmostAQuietMinute", 128, false, {1000, 2000, 3500}, 63400, {128, 4}, grew},
        {"AQuietMinuteStepsBack", 128, false, {1000, 2000, 3500}, 63500, {128, 3}, quiet},
        {"TwoQuietMinutesBackAtTheStart", 128, false, {1000, 2000, 3500}, 123500, {128, 2},
         quiet},
        {"NeverBelowTheStart", 128, false, {1000, 2000}, 600000, {128, 2}, quiet},
        {"AfterAStepThatDidNotHelp", 128, false, {1000, 2000, 3500, 4500}, 64500, {128, 2},
         quiet},
        {"AnUncountedDropoutRestartsTheMinute", 128, false, {1000, 2000, 2200}, 62100, {128, 3},
         grew},
        {"ThenItStepsBack", 128, false, {1000, 2000, 2200}, 62200, {128, 2}, quiet},
        {"ChosenBlockComesBackToo", 256, true, {1000, 2000, 3500}, 63500, {256, 3}, quiet},
        // Stepped back at 63.5 s, a dropout at 70 s: the next step back waits 120 s.
        {"ABusyMachineWaitsTwiceAsLong", 128, false, {1000, 2000, 3500, 70000}, 189900,
         {128, 3}, quiet},
        {"ThenStepsBack", 128, false, {1000, 2000, 3500, 70000}, 190000, {128, 2}, quiet},
        // Again 10 s after that step back: four minutes from the step up at 201 s.
        {"AndLongerStill", 128, false, {1000, 2000, 3500, 70000, 200000, 201000}, 440900,
         {128, 3}, grew},
        {"AfterFourMinutes", 128, false, {1000, 2000, 3500, 70000, 200000, 201000}, 441000,
         {128, 2}, quiet},
        // Back at the start at 62 s; dropouts at 150 s are no sign of a busy machine.
        {"ALateDropoutKeepsTheMinute", 128, false, {1000, 2000, 150000, 151000}, 211000,
         {128, 2}, quiet},
    });
    // clang-format on
}

}  // namespace
}  // namespace orvena

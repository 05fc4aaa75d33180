// Where notes start inside the rendered sound: a device asks the mixer for a block each time
// its first frame is due on a fake steady clock, commands are sent at (or after) their moments,
// and the frames at which the voice begins and ends sounding are read from the rendered samples.

#include <gtest/gtest.h>

#include <cmath>

#include "sound_fixture.h"

namespace orvena::test {
namespace {

enum class Act { pluck, cut };
struct Command {
    Act act;
    double at_ms;         // the moment the command belongs to
    double sent_late_ms;  // how long after it the command reaches the queue
};

constexpr double kDeviceStartMs = 3'600'000.0;  // the steady clock's reading at frame 0

Mixer::TimePoint moment(double ms) {
    return Mixer::TimePoint(std::chrono::nanoseconds(std::llround((kDeviceStartMs + ms) * 1e6)));
}

// The frames of the first sound and of the silence after it in 300 ms of `block`-frame blocks,
// the mixer's lead being one block and 1 ms (48 frames).
std::pair<std::size_t, std::size_t> sounding(std::size_t block,
                                             const std::vector<Command>& commands) {
    static const SampleData level(std::vector<float>(48000, 0.5f), 1);
    Mixer mixer(kDeviceRate);
    mixer.set_lead(std::chrono::nanoseconds(std::llround((block + 48) * 1e6 / 48)));
    std::vector<float> left, out(2 * block);
    for (std::size_t next = 0; left.size() < 14400;) {
        const double asked_ms = left.size() / 48.0;
        for (; next < commands.size() &&
               commands[next].at_ms + commands[next].sent_late_ms <= asked_ms;
             ++next) {
            const Command& c = commands[next];
            if (c.act == Act::pluck) mixer.start_pluck(level, kDeviceRate, moment(c.at_ms));
            if (c.act == Act::cut) mixer.cut_pluck(moment(c.at_ms));
        }
        mixer.render(out.data(), block, moment(asked_ms));
        for (std::size_t i = 0; i < block; ++i) left.push_back(out[2 * i]);
    }
    std::size_t onset = 0, silent;
    while (onset < left.size() && left[onset] == 0.0f) ++onset;
    for (silent = onset; silent < left.size() && left[silent] != 0.0f;) ++silent;
    return {onset, silent};
}

// A note is due its lead after its moment: at 100 ms (frame 4800) with 256-frame blocks at
// 5104, in the block asked at 101.33 ms. Sent later than its block is asked for, it starts the
// first block asked after it arrives.
TEST(OnsetTiming, ANoteStartsItsLeadAfterItsMomentOrWithTheFirstBlockAfterItArrives) {
    // block, moment, lateness, first sounding frame
    const std::tuple<std::size_t, double, double, std::size_t> cases[] = {
        {256, 100.0, 0.0, 5104}, {256, 123.456, 0.0, 6230}, {128, 150.01, 0.0, 7376},
        {64, 133.3, 0.0, 6510},  {1024, 101.77, 0.0, 5957}, {256, 100.0, 1.0, 5104},
        {256, 100.0, 3.0, 5120}, {256, 100.0, 10.0, 5376},  {64, 100.0, 1.0, 4912},
        {64, 100.0, 3.0, 4992},  {1024, 100.0, 30.0, 7168}};
    for (auto [block, at_ms, late_ms, onset] : cases) {
        EXPECT_EQ(sounding(block, {{Act::pluck, at_ms, late_ms}}).first, onset)
            << "block " << block << ", at " << at_ms << " ms, " << late_ms << " ms late";
    }
}

// Lead 304 frames, fade 144 frames (3 ms): the first sounding frame and the first silent one.
TEST(OnsetTiming, CutsAndStartsInOneBlockActInTheOrderSent) {
    constexpr Act pluck = Act::pluck, cut = Act::cut;
    // clang-format off
    const std::tuple<std::vector<Command>, std::size_t, std::size_t> cases[] = {
        {{{cut, 100.0, 0.0}, {pluck, 100.0, 0.0}, {cut, 150.0, 0.0}}, 5104, 7648},
        {{{pluck, 100.0, 0.0}, {cut, 101.0, 0.0}}, 5104, 5296},  // a cut in the same block
        {{{pluck, 100.0, 0.0}, {cut, 99.0, 0.5}}, 5104, 5248},   // sent after, acts with it
    };
    // clang-format on
    for (const auto& [commands, onset, silent] : cases)
        EXPECT_EQ(sounding(256, commands), std::pair(onset, silent)) << commands.size();
}

}  // namespace
}  // namespace orvena::test

// A note given its deadline (as replay and sequence playback give it) starts in the rendered
// sound at a fixed time after that deadline, however late the call that plays it comes.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "sound/sound_module.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

constexpr double kFramesPerMs = kDeviceRate / 1000.0;
constexpr double kStartMs = 3'600'000.0;  // the steady clock when the device starts
constexpr std::size_t kBlock = 128;

Mixer::TimePoint steady(double ms) {
    return Mixer::TimePoint(std::chrono::nanoseconds(std::llround(ms * 1e6)));
}

TEST(NoteTime, ANoteWithADeadlineStartsAFixedTimeAfterItHoweverLateItIsPlayed) {
    const double deadline_ms = 100.0;
    // The device: one block each 128 frames from kStartMs; the note is played `late_ms`
    // after its deadline, when the device has asked for every block up to then.
    for (const double late_ms : {0.0, 2.5, 4.0, 9.0}) {
        InstrumentState st = tuned_state();
        TempDir dir;
        copy_samples(dir);
        SoundModule module(st, dir.path(), std::make_unique<NullOutput>(kDeviceRate));
        module.load_samples();
        std::vector<float> left, block(2 * kBlock);
        bool played = false;
        for (std::size_t k = 0; left.size() < 200 * kFramesPerMs; ++k) {
            const double asked_ms = static_cast<double>(k * kBlock) / kFramesPerMs;
            if (!played && asked_ms >= deadline_ms + late_ms) {
                const NoteTime due(module, kStartMs + deadline_ms);
                module.stop_plucked();
                module.play_tuned_sample(12, 0);
                played = true;
            }
            module.mixer().render(block.data(), kBlock, steady(kStartMs + asked_ms));
            for (std::size_t i = 0; i < kBlock; ++i) left.push_back(block[2 * i]);
        }
        const auto first = std::find_if(left.begin(), left.end(), [](float v) { return v != 0; });
        ASSERT_NE(first, left.end());
        // 10 ms of slack for the late call, then the lead of a device without blocks, 1 ms.
        EXPECT_NEAR(first - left.begin(), std::llround((deadline_ms + 11.0) * kFramesPerMs), 1)
            << "played " << late_ms << " ms late";
    }
}

}  // namespace
}  // namespace orvena::test

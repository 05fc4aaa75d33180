// Where notes start inside the rendered sound: a device asks the mixer for blocks at moments of
// a fake steady clock, commands are sent at (or after) their moments, and the frames at which
// voices begin sounding are read from the rendered samples.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "sound_fixture.h"

namespace orvena::test {
namespace {

constexpr double kFramesPerMs = kDeviceRate / 1000.0;
constexpr std::int64_t kMarginFrames = 48;  // the lead is one block and 1 ms

// Each block is asked for when the device's clock, `ppm` fast of the steady clock, reaches its
// first frame; from `pause_at_ms` on `pause_ms` later (a dropout, which it may report).
struct Device {
    std::size_t block = 256;
    double ppm = 0, pause_at_ms = 1e12, pause_ms = 0;
    bool reports_pause = false;

    double asked_at_ms(std::size_t first_frame) const {
        const double ms = first_frame / kFramesPerMs / (1.0 + ppm * 1e-6);
        return ms >= pause_at_ms ? ms + pause_ms : ms;
    }
    std::int64_t lead_frames() const { return static_cast<std::int64_t>(block) + kMarginFrames; }
};

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

const SampleData& level_sample() {
    static const SampleData data(std::vector<float>(96000, 0.5f), 1);
    return data;
}

// The left channel rendered by `device` for `length_ms`; `send` is told the moment each block
// is asked for, before it is rendered.
std::vector<float> render_on(const Device& device, Mixer& mixer, double length_ms,
                             const std::function<void(double asked_ms)>& send) {
    std::vector<float> left, block(2 * device.block);
    bool paused = false;
    while (left.size() < length_ms * kFramesPerMs) {
        const double asked_ms = device.asked_at_ms(left.size());
        if (!paused && asked_ms >= device.pause_at_ms) {
            paused = true;
            if (device.reports_pause) mixer.note_dropout();
        }
        send(asked_ms);
        mixer.render(block.data(), device.block, moment(asked_ms));
        for (std::size_t i = 0; i < device.block; ++i) left.push_back(block[2 * i]);
    }
    return left;
}

// The frames at which sound starts after silence, with the commands sent as the steady clock
// passes each one's moment plus its lateness.
std::vector<std::int64_t> onsets(const Device& device, const std::vector<Command>& commands,
                                 double length_ms, std::vector<float>* sound = nullptr) {
    Mixer mixer(kDeviceRate);
    mixer.set_lead(
        std::chrono::nanoseconds(std::llround(device.lead_frames() * 1e6 / kFramesPerMs)));
    std::size_t next = 0;
    const auto left = render_on(device, mixer, length_ms, [&](double asked_ms) {
        for (; next < commands.size() &&
               commands[next].at_ms + commands[next].sent_late_ms <= asked_ms;
             ++next) {
            const Command& c = commands[next];
            if (c.act == Act::pluck)
                mixer.start_pluck(level_sample(), kDeviceRate, moment(c.at_ms));
            if (c.act == Act::cut) mixer.cut_pluck(moment(c.at_ms));
        }
    });
    std::vector<std::int64_t> found;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (left[i] != 0.0f && (i == 0 || left[i - 1] == 0.0f)) found.push_back(i);
    if (sound) *sound = left;
    return found;
}

// A note is due its lead (one block and 1 ms) after its moment: at 100 ms (frame 4800) and a
// 256-frame block at 5104, in the block asked at 101.33 ms. Sent later than its block is asked
// for, it starts the first block asked after it arrives.
TEST(OnsetTiming, ANoteStartsItsLeadAfterItsMomentOrWithTheFirstBlockAfterItArrives) {
    // block, moment, lateness, first sounding frame
    const std::tuple<std::size_t, double, double, std::int64_t> cases[] = {
        {256, 100.0, 0.0, 5104}, {256, 123.456, 0.0, 6230},  {128, 250.01, 0.0, 12176},
        {64, 333.3, 0.0, 16110}, {1024, 401.77, 0.0, 20357}, {256, 100.0, 1.0, 5104},
        {256, 100.0, 3.0, 5120}, {256, 100.0, 10.0, 5376},   {64, 100.0, 1.0, 4912},
        {64, 100.0, 3.0, 4992},  {1024, 100.0, 30.0, 7168}};
    for (auto [block, at_ms, late_ms, onset] : cases) {
        EXPECT_EQ(onsets(Device{block}, {{Act::pluck, at_ms, late_ms}}, at_ms + 100.0),
                  std::vector<std::int64_t>{onset})
            << "block " << block << ", at " << at_ms << " ms, " << late_ms << " ms late";
    }
}

// Lead 304 frames, fade 144 frames (3 ms): the first sounding frame and the first silent one.
TEST(OnsetTiming, CutsAndStartsInOneBlockActInTheOrderSent) {
    constexpr Act pluck = Act::pluck, cut = Act::cut;
    // clang-format off
    const std::tuple<std::vector<Command>, std::int64_t, std::int64_t> cases[] = {
        {{{cut, 100.0, 0.0}, {pluck, 100.0, 0.0}, {cut, 150.0, 0.0}}, 5104, 7648},
        {{{pluck, 100.0, 0.0}, {cut, 101.0, 0.0}}, 5104, 5296},  // a cut in the same block
        {{{pluck, 100.0, 0.0}, {cut, 99.0, 0.5}}, 5104, 5248},   // sent after, acts with it
    };
    // clang-format on
    for (const auto& [commands, onset, silent_from] : cases) {
        std::vector<float> left;
        ASSERT_EQ(onsets(Device{256}, commands, 300.0, &left), std::vector<std::int64_t>{onset});
        std::int64_t silent = onset;
        while (silent < static_cast<std::int64_t>(left.size()) && left[silent] != 0.0f) ++silent;
        EXPECT_EQ(silent, silent_from) << commands.size();
    }
}

// Notes at 1.5, 1.9, 2.7 and 4.1 s, each cut 20 ms later, keep their spacing on the device's
// clock, less a pause the device made.
TEST(OnsetTiming, NotesKeepTheirSpacingOnASlowOrPausedDevice) {
    const std::pair<Device, double> cases[] = {
        // the device, its clock's frames per ms
        {{.block = 1024, .ppm = -300}, 48 * 0.9997},
        {{.pause_at_ms = 1600, .pause_ms = 50}, 48},
        {{.pause_at_ms = 1600, .pause_ms = 5, .reports_pause = true}, 48}};
    const std::vector<double> moments = {1500.0, 1900.0, 2700.0, 4100.0};
    std::vector<Command> commands;
    for (double ms : moments) {
        commands.push_back({Act::pluck, ms, 0.0});
        commands.push_back({Act::cut, ms + 20.0, 0.0});
    }
    for (const auto& [device, frames_per_ms] : cases) {
        const auto found = onsets(device, commands, 4300.0);
        ASSERT_EQ(found.size(), moments.size()) << device.pause_ms;
        for (std::size_t n = 1; n < moments.size(); ++n) {
            EXPECT_NEAR(
                found[n] - found[0],
                std::llround((moments[n] - moments[0]) * frames_per_ms - device.pause_ms * 48), 1)
                << device.pause_ms << " ms pause, note " << n;
        }
    }
}

// Replay and sequence playback give each note its deadline: it then sounds 10 ms of slack and
// the lead (1 ms on a device without blocks) after it, however late the call comes.
TEST(OnsetTiming, APlaybackNoteStartsAFixedTimeAfterItsDeadlineHoweverLateItIsPlayed) {
    const InstrumentState st = tuned_state();
    TempDir dir;
    copy_samples(dir);
    for (const double late_ms : {0.0, 2.5, 4.0, 9.0}) {
        SoundModule module(st, dir.path(), std::make_unique<NullOutput>(kDeviceRate));
        module.load_samples();
        bool played = false;
        const auto left = render_on(Device{128}, module.mixer(), 200.0, [&](double asked_ms) {
            if (played || asked_ms < 100.0 + late_ms) return;
            const NoteTime due(module, kDeviceStartMs + 100.0);
            module.stop_plucked();
            module.play_tuned_sample(12, 0);
            played = true;
        });
        const auto first = std::find_if(left.begin(), left.end(), [](float v) { return v != 0; });
        EXPECT_NEAR(first - left.begin(), 111 * 48, 1) << late_ms << " ms late";
    }
}

}  // namespace
}  // namespace orvena::test

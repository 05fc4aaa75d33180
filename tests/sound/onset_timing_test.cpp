// Where notes start inside the rendered sound: a device asks the mixer for blocks at moments
// of a fake steady clock, commands are sent at (or after) their moments, and the frame at which
// each voice begins sounding is read from the rendered samples.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "sound/mixer.h"
#include "sound/sound_module.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

constexpr double kRate = kDeviceRate;
constexpr double kFramesPerMs = kRate / 1000.0;
constexpr std::int64_t kMarginFrames = 48;  // the lead is one block and 1 ms

// The device: block k is asked for at k * block frames on its own clock, which runs `ppm`
// fast of the steady clock; every other block `jitter_ms` early and the others as late; the
// callbacks `late_ms` late for a while (a busy machine); and the stream `pause_ms` later
// from `pause_at_ms` on (a dropout), which the device may report.
struct Device {
    std::size_t block = 256;
    double ppm = 0.0;
    double jitter_ms = 0.0;
    double late_from_ms = 1e12, late_until_ms = 0.0, late_ms = 0.0;
    double pause_at_ms = 1e12, pause_ms = 0.0;
    bool reports_pause = false;

    double asked_at_ms(std::int64_t first_frame, std::size_t k) const {
        double ms = static_cast<double>(first_frame) / kFramesPerMs / (1.0 + ppm * 1e-6);
        ms += (k % 2 == 0 ? -jitter_ms : jitter_ms);
        if (ms >= late_from_ms && ms < late_until_ms) ms += late_ms;
        return ms >= pause_at_ms ? ms + pause_ms : ms;
    }
    std::int64_t lead_frames() const { return static_cast<std::int64_t>(block) + kMarginFrames; }
};

enum class Act { pluck, cut };
struct Command {
    Act act;
    double at_ms;         // the moment the command belongs to
    double sent_late_ms;  // how long after that moment it reaches the queue
};

constexpr double kDeviceStartMs = 3'600'000.0;  // the steady clock's reading at frame 0

Mixer::TimePoint moment(double ms) {
    return Mixer::TimePoint(std::chrono::nanoseconds(std::llround((kDeviceStartMs + ms) * 1e6)));
}

const SampleData& level_sample() {
    static const SampleData data(std::vector<float>(static_cast<std::size_t>(kRate * 2), 0.5f), 1);
    return data;
}

// The left channel of the mixer rendered by `device` for `length_ms`; before each block,
// `send` is told the moment the block is asked for.
std::vector<float> render_on(const Device& device, Mixer& mixer, double length_ms,
                             const std::function<void(double asked_ms)>& send) {
    std::vector<float> left, block(2 * device.block);
    bool paused = false;
    for (std::size_t k = 0; static_cast<double>(left.size()) < length_ms * kFramesPerMs; ++k) {
        const double asked_ms = device.asked_at_ms(static_cast<std::int64_t>(left.size()), k);
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

// The commands sent as the steady clock passes each one's moment plus its lateness.
std::vector<float> play(const Device& device, const std::vector<Command>& commands,
                        double length_ms) {
    Mixer mixer(kRate);
    mixer.set_lead(std::chrono::nanoseconds(
        std::llround(static_cast<double>(device.lead_frames()) * 1e6 / kFramesPerMs)));
    std::size_t next = 0;
    return render_on(device, mixer, length_ms, [&](double asked_ms) {
        for (; next < commands.size() &&
               commands[next].at_ms + commands[next].sent_late_ms <= asked_ms;
             ++next) {
            const Command& c = commands[next];
            if (c.act == Act::pluck) mixer.start_pluck(level_sample(), kRate, moment(c.at_ms));
            if (c.act == Act::cut) mixer.cut_pluck(moment(c.at_ms));
        }
    });
}

// Frames at which the sound starts after silence.
std::vector<std::int64_t> onsets(const std::vector<float>& left) {
    std::vector<std::int64_t> found;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (left[i] != 0.0f && (i == 0 || left[i - 1] == 0.0f))
            found.push_back(static_cast<std::int64_t>(i));
    }
    return found;
}

// A pluck at each moment, cut 20 ms later.
std::vector<Command> short_notes(const std::vector<double>& moments_ms) {
    std::vector<Command> commands;
    for (double ms : moments_ms) {
        commands.push_back({Act::pluck, ms, 0.0});
        commands.push_back({Act::cut, ms + 20.0, 0.0});
    }
    return commands;
}

std::int64_t frame_of(double ms) {
    return std::llround(ms * kFramesPerMs);
}

TEST(OnsetTiming, ANoteStartsItsLeadAfterItsMomentAtAnyPlaceInTheBlock) {
    for (std::size_t block : {64, 128, 256, 1024}) {
        const Device device{block};
        const std::vector<double> moments = {100.0, 123.456, 250.01, 333.3, 401.77};
        const auto found = onsets(play(device, short_notes(moments), 500.0));
        ASSERT_EQ(found.size(), moments.size()) << block;
        for (std::size_t n = 0; n < moments.size(); ++n) {
            EXPECT_NEAR(found[n], frame_of(moments[n]) + device.lead_frames(), 1)
                << "block " << block << ", note at " << moments[n] << " ms";
        }
    }
}

TEST(OnsetTiming, ACommandTooLateForItsBlockActsAtTheStartOfTheNextOneAsked) {
    struct Case {
        std::size_t block;
        double late_ms;
        std::int64_t onset;
    };
    // A note at 100 ms (frame 4800) is due at 4800 + lead, in the block asked at
    // 101.33 ms; sent later than that, it starts the first block asked after it arrives.
    const Case cases[] = {{256, 1.0, 5104}, {256, 3.0, 5120}, {256, 10.0, 5376},
                          {64, 1.0, 4912},  {64, 3.0, 4992},  {1024, 30.0, 7168}};
    for (const Case& c : cases) {
        const auto found = onsets(play(Device{c.block}, {{Act::pluck, 100.0, c.late_ms}}, 200.0));
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0], c.onset) << "block " << c.block << ", " << c.late_ms << " ms late";
    }
}

TEST(OnsetTiming, CutsAndStartsInOneBlockActInTheOrderSent) {
    struct Case {
        const char* what;
        std::vector<Command> commands;
        std::int64_t onset;        // first sounding frame
        std::int64_t silent_from;  // first frame of the silence after it
    };
    constexpr std::int64_t lead = 256 + kMarginFrames;
    constexpr std::int64_t fade = 144;  // 3 ms
    const Case cases[] = {
        {"cut before a start at the same moment",
         {{Act::cut, 100.0, 0.0}, {Act::pluck, 100.0, 0.0}, {Act::cut, 150.0, 0.0}},
         4800 + lead,
         7200 + lead + fade},
        {"start, then a cut 1 ms later in the same block",
         {{Act::pluck, 100.0, 0.0}, {Act::cut, 101.0, 0.0}},
         4800 + lead,
         4848 + lead + fade},
        {"a cut sent after a later start acts with it, not before it",
         {{Act::pluck, 100.0, 0.0}, {Act::cut, 99.0, 0.5}},
         4800 + lead,
         4800 + lead + fade},
    };
    for (const Case& c : cases) {
        const auto left = play(Device{256}, c.commands, 300.0);
        const auto found = onsets(left);
        ASSERT_EQ(found.size(), 1u) << c.what;
        EXPECT_EQ(found[0], c.onset) << c.what;
        std::int64_t silent = found[0];
        while (silent < static_cast<std::int64_t>(left.size()) && left[silent] != 0.0f) ++silent;
        EXPECT_EQ(silent, c.silent_from) << c.what;
    }
}

TEST(OnsetTiming, NotesKeepTheirSpacingOnAnUnevenSlowDriftingOrPausedDevice) {
    struct Case {
        const char* what;
        Device device;
        double frames_per_ms;  // of the device's clock
        std::int64_t tolerance = 1;
    };
    const Case cases[] = {
        {"blocks asked 0.4 ms early and late in turn",
         {.block = 128, .jitter_ms = 0.4},
         kFramesPerMs},
        {"callbacks 3 ms late for the 0.12 s up to a note (it may come 0.06 ms early)",
         {.late_from_ms = 1800, .late_until_ms = 1920, .late_ms = 3},
         kFramesPerMs,
         3},
        {"a device clock 300 ppm fast", {.ppm = 300}, kFramesPerMs * 1.0003},
        {"a device clock 300 ppm slow", {.block = 1024, .ppm = -300}, kFramesPerMs * 0.9997},
        {"a 50 ms pause before the second note",
         {.pause_at_ms = 1600, .pause_ms = 50},
         kFramesPerMs},
        {"a 5 ms dropout the device reports",
         {.pause_at_ms = 1600, .pause_ms = 5, .reports_pause = true},
         kFramesPerMs},
    };
    const std::vector<double> moments = {1500.0, 1900.0, 2700.0, 4100.0};
    for (const Case& c : cases) {
        const auto found = onsets(play(c.device, short_notes(moments), 4300.0));
        ASSERT_EQ(found.size(), moments.size()) << c.what;
        for (std::size_t n = 1; n < moments.size(); ++n) {
            EXPECT_NEAR(found[n] - found[0],
                        std::llround((moments[n] - moments[0]) * c.frames_per_ms) -
                            frame_of(c.device.pause_ms),
                        c.tolerance)
                << c.what << ", note " << n;
        }
    }
}

// Replay and sequence playback give each note its deadline: it then sounds 10 ms of slack
// and the lead (1 ms on a device without blocks) after it, however late the call comes.
TEST(OnsetTiming, APlaybackNoteStartsAFixedTimeAfterItsDeadlineHoweverLateItIsPlayed) {
    for (const double late_ms : {0.0, 2.5, 4.0, 9.0}) {
        const InstrumentState st = tuned_state();
        TempDir dir;
        copy_samples(dir);
        SoundModule module(st, dir.path(), std::make_unique<NullOutput>(kRate));
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
        EXPECT_NEAR(first - left.begin(), frame_of(100.0 + 11.0), 1) << late_ms << " ms late";
    }
}

// An offline render applies what it queued with a render of no frames, so any number of
// commands on one frame fits the queue.
TEST(OnsetTiming, ARenderOfNoFramesAppliesTheQueuedCommands) {
    Mixer mixer(kRate, 4);
    float none[2];
    for (int n = 0; n < 10; ++n) {
        ASSERT_TRUE(mixer.cut_pluck() && mixer.start_pluck(level_sample(), kRate)) << n;
        mixer.render(none, 0);
    }
    EXPECT_EQ(mixer.active_voices(), 10u);  // each pluck cut by the next, fading
}

}  // namespace
}  // namespace orvena::test

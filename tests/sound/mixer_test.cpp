// The mixer on its own (bench/ measures its interpolation): channels, dropouts, the life of the
// sample data voices read, no allocation (counted by this program's operator new), onsets.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

#include "sound/block_size_policy.h"
#include "sound/sample_bank.h"
#include "sound_fixture.h"

namespace {
thread_local bool counting = false;  // allocations of this thread are counted
thread_local int allocations = 0;
}  // namespace

void* operator new(std::size_t bytes) {
    if (counting) ++allocations;
    if (void* p = std::malloc(bytes != 0 ? bytes : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace orvena::test {
namespace {

// Every frame given is kept, between silent pads the interpolator may read.
TEST(SampleData, KeepsEveryFrameBetweenSilentPads) {
    const std::vector<float> values = {0.5f, -0.25f, 0.75f, -1.0f};
    for (const int channels : {1, 2}) {
        const SampleData data(values, channels);
        ASSERT_EQ(data.frames(), 4 / channels);
        const float* first = data.frame_ptr();
        EXPECT_EQ(std::vector<float>(first, first + 4), values);
        EXPECT_EQ(std::vector<float>(first - channels, first), std::vector<float>(channels, 0.0f));
        EXPECT_EQ(std::vector<float>(first + 4, first + 4 + channels),
                  std::vector<float>(channels, 0.0f));
    }
}

TEST(Mixer, StereoSamplesKeepTheirChannels) {
    const SampleData stereo = sine_sample(1000.0, 44100.0, 0.5, 2);
    const SampleData mono = sine_sample(1000.0, 44100.0, 0.5, 1);
    Mixer a(48000.0), b(48000.0);
    a.start_pluck(stereo, 44100.0);
    b.start_pluck(mono, 44100.0);
    const auto s = render(a, 0.3), m = render(b, 0.3);
    for (std::size_t i = 0; i < s.size(); i += 2) {
        ASSERT_NEAR(s[i], -s[i + 1], 1e-6);
        ASSERT_NEAR(m[i], m[i + 1], 1e-6);
        ASSERT_NEAR(s[i], m[i], 1e-6);
    }
    EXPECT_NEAR(rms(channel_of(s, 0)), 0.25 / std::sqrt(2.0), 0.001);  // half of 0.5, resampled
}

TEST(Mixer, ADropoutIsHeardOnlyWhileAVoiceSounds) {
    const SampleData tone = sine_sample(440.0, 48000.0, 0.5);
    Mixer mixer(48000.0);
    EXPECT_FALSE(mixer.note_dropout()) << "nothing played yet";
    ASSERT_TRUE(mixer.start_pluck(tone, 48000.0));
    render(mixer, 0.01);
    EXPECT_TRUE(mixer.note_dropout()) << "the pluck sounds";
    render(mixer, 0.6);
    EXPECT_FALSE(mixer.note_dropout()) << "after the pluck";
}

TEST(SampleBank, ReplacedDataIsFreedOnlyWhenNoVoicePlaysItAnyMore) {
    TempDir dir;
    write_file_bytes(dir / "a.wav", make_wav({}));
    SampleBank bank(dir.path());
    const SampleData* first = bank.get("a.wav");
    ASSERT_TRUE(first != nullptr && bank.get("a.wav") == first);
    Mixer mixer(48000.0);
    mixer.start_held(1, *first, 44100.0);
    render(mixer, 0.01);
    write_file_bytes(dir / "a.wav", make_wav({.seconds = 0.5}));  // a new size: changed
    const SampleData* second = bank.get("a.wav");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->frames(), 22050);
    bank.collect();
    EXPECT_EQ(bank.retired_count(), 1u);  // still playing
    EXPECT_GT(rms(render(mixer, 0.2)), 0.1);
    mixer.stop_held(1);
    render(mixer, 0.01);
    bank.collect();
    EXPECT_EQ(bank.retired_count(), 0u);
    std::filesystem::remove(dir / "a.wav");
    EXPECT_EQ(bank.get("a.wav"), nullptr);
}

int allocations_while(const std::function<void()>& work) {
    allocations = 0;
    counting = true;
    work();
    counting = false;
    return allocations;
}

// Every voice (held notes at three speeds: the fast ones take the wide kernel), fades, a pluck
// taking over a fading voice, a command for a later block, a dropout, block-size decisions.
TEST(RenderAllocations, NoneWhileABusyBlockIsRendered) {
    const SampleData mono = sine_sample(700.0, 48000.0, 1.0),
                     stereo = sine_sample(700.0, 48000.0, 1.0, 2);
    Mixer mixer(48000.0);
    mixer.set_block_lead(128);
    std::vector<float> out(2 * 1024);
    BlockSizePolicy policy(128, false, Mixer::now());
    Mixer::TimePoint asked = Mixer::now();
    for (std::uint32_t id = 1; id < 64; ++id)
        ASSERT_TRUE(mixer.start_held(id, id % 2 ? mono : stereo, 24000.0 + 30000.0 * (id % 3)));
    ASSERT_TRUE(mixer.start_pluck(mono, 44100.0));
    for (std::uint32_t id = 1; id < 9; ++id) ASSERT_TRUE(mixer.stop_held(id));
    ASSERT_TRUE(mixer.start_pluck(stereo, 48000.0) && mixer.cut_pluck());
    ASSERT_TRUE(mixer.start_held(99, mono, 44100.0, asked + std::chrono::milliseconds(40)));
    EXPECT_EQ(allocations_while([&] {
                  for (int i = 0; i < 20; ++i)  // blocks of 128 frames, every 128 / 48000 s
                      mixer.render(out.data(), 128, asked += std::chrono::nanoseconds(2666667));
                  mixer.note_dropout();
                  policy.underrun(asked + std::chrono::seconds(1));
                  policy.tick(asked + std::chrono::seconds(90));
                  mixer.render(out.data(), 1000, asked);
                  mixer.render(out.data(), 77);
              }),
              0);
    EXPECT_EQ(mixer.active_voices(), 56u);  // the eight faded; the rest bend below full scale
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float v) { return std::abs(v) < 1.0f; }));
    EXPECT_EQ(allocations_while([] { std::vector<int> one(3); }), 1) << "the counter counts";
}

constexpr double kDeviceStartMs = 3'600'000.0;  // the steady clock's reading at frame 0

Mixer::TimePoint moment(double ms) {
    return Mixer::TimePoint(std::chrono::nanoseconds(std::llround((kDeviceStartMs + ms) * 1e6)));
}

// The first sounding frame of `block`-frame blocks asked for when due on the steady clock, with
// a pluck for `at_ms` sent `late_ms` after it; the lead is one block and 1 ms (48 frames).
std::size_t onset(std::size_t block, double at_ms, double late_ms) {
    static const SampleData level(std::vector<float>(48000, 0.5f), 1);
    Mixer mixer(kDeviceRate);
    mixer.set_lead(std::chrono::nanoseconds(std::llround((block + 48) * 1e6 / 48)));
    std::vector<float> out(2 * block);
    for (std::size_t frame = 0; frame < 48000; frame += block) {
        if (frame / 48.0 >= at_ms + late_ms && frame / 48.0 < at_ms + late_ms + block / 48.0)
            mixer.start_pluck(level, kDeviceRate, moment(at_ms));
        mixer.render(out.data(), block, moment(frame / 48.0));
        for (std::size_t i = 0; i < block; ++i)
            if (out[2 * i] != 0.0f) return frame + i;
    }
    return 0;
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
    for (auto [block, at_ms, late_ms, first] : cases)
        EXPECT_EQ(onset(block, at_ms, late_ms), first)
            << "block " << block << ", at " << at_ms << " ms, " << late_ms << " ms late";
}

}  // namespace
}  // namespace orvena::test

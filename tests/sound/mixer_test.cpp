// The mixer on its own: interpolation quality, headroom, the command queue between the
// event thread and the audio thread, and the life of the sample data voices read.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <thread>

#include "pitch/pitch.h"
#include "sound/mixer.h"
#include "sound/sample_bank.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

SampleData sine_sample(double f, double rate, double seconds, int channels = 1) {
    std::vector<float> x;
    const auto n = static_cast<std::size_t>(rate * seconds);
    for (std::size_t i = 0; i < n; ++i) {
        const float v = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * f * i / rate));
        for (int c = 0; c < channels; ++c) x.push_back(c == 0 ? v : -v);
    }
    return SampleData(x, channels);
}

float peak_of(const std::vector<float>& sound) {
    float peak = 0;
    for (float v : sound) peak = std::max(peak, std::abs(v));
    return peak;
}

TEST(Mixer, AFiveKilohertzToneTwoHundredCentsEitherWayHasNoSpuriousToneAboveMinus80dB) {
    const SampleData tone = sine_sample(5000.0, 44100.0, 2.0);
    const std::pair<double, double> cases[] = {
        {48000.0, -200.0}, {48000.0, -37.0}, {48000.0, 200.0}, {44100.0, 0.0}};
    for (auto [device, cents] : cases) {
        Mixer mixer(device);
        const double rate = std::round(44100.0 * std::pow(2.0, cents / 1200.0));
        mixer.start_pluck(tone, rate);
        const auto sound = left_part(render(mixer, 0.8), 0.1, 0.7, device);
        SCOPED_TRACE(testing::Message() << cents << " cents at " << device << " Hz");
        EXPECT_NEAR(cents_between(measure_fundamental(sound, device), 5000.0 * rate / 44100.0), 0.0,
                    0.01);
        EXPECT_LT(spurious_level_db(sound, device), -80.0);
    }
}

TEST(Mixer, ChannelsAreKeptAndVoicesSummedBelowFullScale) {
    {
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
        EXPECT_GT(rms(channel_of(s, 0)), 0.1);
    }
    {
        const auto st = tuned_state();
        std::vector<std::unique_ptr<SampleData>> strings;
        Mixer mixer(48000.0);
        for (int s = 1; s <= kStringCount; ++s) {
            strings.push_back(decode_sample_file(program_dir() / st.wav_files[s]));
            ASSERT_NE(strings.back(), nullptr);
            mixer.start_held(static_cast<std::uint32_t>(s), *strings.back(), 44100.0);
        }
        const auto sound = render(mixer, 1.0);
        // 26 attacks in the same frame add up to about three times full scale; the bend keeps
        // them below it.
        const float peak = peak_of(sound);
        EXPECT_TRUE(peak > 0.9f && peak < 0.99f) << peak;

        const SampleData loud = sine_sample(100.0, 44100.0, 1.0);
        Mixer two(48000.0);
        two.start_held(1, loud, 44100.0);
        two.start_held(2, loud, 44100.0);
        EXPECT_NEAR(peak_of(render(two, 0.1)), 2 * Mixer::kVoiceGain * 0.5f, 0.01f);
    }
}

TEST(Mixer, CommandsFromTheEventThreadWhileTheAudioThreadRenders) {
    const SampleData a = sine_sample(220.0, 44100.0, 0.3);
    const SampleData b = sine_sample(330.0, 44100.0, 0.3, 2);
    Mixer mixer(48000.0, 64);
    std::atomic<bool> done{false};
    std::atomic<long> rendered{0};
    std::thread audio([&] {
        std::vector<float> block(2 * 256);
        while (!done.load()) {
            mixer.render(block.data(), 256);
            for (float v : block) {
                if (!std::isfinite(v) || std::abs(v) > 1.0f) std::abort();
            }
            rendered.fetch_add(1);
        }
    });
    int refused = 0;
    for (std::uint32_t i = 0; i < 2000; ++i) {
        bool ok = true;
        switch (i % 5) {
            case 0:
                ok = mixer.start_pluck(i % 2 ? a : b, 40000.0 + i);
                break;
            case 1:
                ok = mixer.start_held(i % 30, a, 48000.0);
                break;
            case 2:
                ok = mixer.stop_held((i + 7) % 30);
                break;
            case 3:
                ok = mixer.start_held(100 + i % 30, b, 52000.0);
                break;
            default:
                ok = mixer.cut_pluck();
                break;
        }
        if (!ok) ++refused;
        if (i % 16 == 0) std::this_thread::yield();
    }
    for (std::uint32_t id = 0; id < 130; ++id) {
        while (!mixer.stop_held(id)) std::this_thread::yield();
    }
    while (!mixer.cut_pluck()) std::this_thread::yield();
    const long at_stop = rendered.load();
    while (rendered.load() < at_stop + 10) std::this_thread::yield();  // > 3 ms of fades
    done = true;
    audio.join();
    EXPECT_EQ(mixer.active_voices(), 0u);
    // Every claim on the data was given back: the bank could free it now.
    EXPECT_EQ(a.users().load(), 0);
    EXPECT_EQ(b.users().load(), 0);
    EXPECT_LT(refused, 2000);
}

// 64 voices sound at once; a 65th and 66th held note, with none fading, are dropped and
// counted, and the 64 keep sounding.
TEST(Mixer, VoicesBeyondSixtyFourAreDroppedAndCounted) {
    const SampleData tone = sine_sample(440.0, 44100.0, 1.0);
    Mixer mixer(48000.0);
    for (std::uint32_t id = 1; id <= 66; ++id) ASSERT_TRUE(mixer.start_held(id, tone, 44100.0));
    render(mixer, 0.01);
    EXPECT_EQ(mixer.active_voices(), 64u);
    EXPECT_EQ(mixer.dropped_voices(), 2u);
    EXPECT_EQ(tone.users().load(), 64);  // the dropped ones gave their claim back
}

TEST(Mixer, ADropoutIsHeardOnlyWhileAVoiceSounds) {
    const SampleData tone = sine_sample(440.0, 48000.0, 0.5);
    Mixer mixer(48000.0);
    std::vector<float> out(2 * 480);
    EXPECT_FALSE(mixer.note_dropout()) << "nothing played yet";
    ASSERT_TRUE(mixer.start_pluck(tone, 48000.0));
    mixer.render(out.data(), 480);
    EXPECT_TRUE(mixer.note_dropout()) << "the pluck sounds";
    for (int i = 0; i < 60; ++i) mixer.render(out.data(), 480);  // 0.6 s: the tone has ended
    EXPECT_FALSE(mixer.note_dropout()) << "after the pluck";
}

TEST(SampleBank, ReplacedDataIsFreedOnlyWhenNoVoicePlaysItAnyMore) {
    TempDir dir;
    write_file_bytes(dir / "a.wav", make_wav(WavSpec{}));
    SampleBank bank(dir.path());
    const SampleData* first = bank.get("a.wav");
    ASSERT_TRUE(first != nullptr && bank.get("a.wav") == first);
    Mixer mixer(48000.0);
    mixer.start_held(1, *first, 44100.0);
    render(mixer, 0.01);

    WavSpec other;
    other.seconds = 0.5;  // a different size: the file changed
    write_file_bytes(dir / "a.wav", make_wav(other));
    const SampleData* second = bank.get("a.wav");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->frames(), 22050);
    bank.collect();
    EXPECT_EQ(bank.retired_count(), 1u);  // still playing
    render(mixer, 0.2);
    EXPECT_GT(rms(left_part(render(mixer, 0.1), 0.0, 0.1)), 0.1);  // the old note goes on
    mixer.stop_held(1);
    render(mixer, 0.01);
    bank.collect();
    EXPECT_EQ(bank.retired_count(), 0u);

    std::filesystem::remove(dir / "a.wav");
    EXPECT_EQ(bank.get("a.wav"), nullptr);
}

}  // namespace
}  // namespace orvena::test

// The pitch meter the sound tests rely on, and the samples the build generates.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "sound/sample_bank.h"
#include "sound/wav_header.h"
#include "sound_fixture.h"
#include "support/pitch.h"
#include "support/temp_dir.h"

namespace orvena::test {
namespace {

// Home pitch of each string in steps of 1200/79 cents above C4, as the samples are made.
constexpr int kHomeDegrees[27] = {0,  184, 171, 158, 151, 138, 125, 112, 105, 92,  79,  72,  59, 46,
                                  33, 26,  13,  0,   -7,  -20, -33, -46, -53, -66, -79, -86, -99};

std::vector<float> sine(double f, double rate, double seconds, double phase, double decay_s = 0) {
    std::vector<float> x(static_cast<std::size_t>(rate * seconds));
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double env = decay_s > 0 ? std::exp(-t / decay_s) : 1.0;
        x[i] = static_cast<float>(0.5 * env * std::sin(2 * std::numbers::pi * f * t + phase));
    }
    return x;
}

TEST(PitchMeter, MeasuresSinesToAHundredthOfACentAcrossTheInstrumentsRange) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> phase(0.0, 2 * std::numbers::pi);
    for (double rate : {44100.0, 48000.0}) {
        for (double f : {55.0, 97.3, 110.0, 262.0, 440.0, 1316.7, 3001.1, 5000.0, 12345.6}) {
            const auto x = sine(f, rate, 0.5, phase(rng));
            EXPECT_NEAR(cents_between(measure_fundamental(x, rate), f), 0.0, 0.01)
                << f << " Hz at " << rate;
            const auto decaying = sine(f, rate, 1.0, phase(rng), 0.4);
            EXPECT_NEAR(cents_between(measure_fundamental(decaying, rate), f), 0.0, 0.05)
                << "decaying " << f << " Hz at " << rate;
        }
    }
}

TEST(PitchMeter, FindsAWeakFundamentalUnderStrongerHarmonicsAndReadsAmplitudes) {
    const double rate = 48000.0, f = 123.4;
    std::vector<float> x(24000);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        x[i] = static_cast<float>(0.1 * std::sin(2 * std::numbers::pi * f * t) +
                                  0.4 * std::sin(2 * std::numbers::pi * 2 * f * t + 1.0) +
                                  0.3 * std::sin(2 * std::numbers::pi * 3 * f * t + 2.0));
    }
    EXPECT_NEAR(cents_between(measure_fundamental(x, rate), f), 0.0, 0.05);
    EXPECT_NEAR(amplitude_at(x, rate, 2 * f), 0.4, 0.001);
    EXPECT_NEAR(amplitude_at(x, rate, 5 * f), 0.0, 0.001);
    EXPECT_NEAR(cents_between(measure_peak(x, rate, 300, 500), 3 * f), 0.0, 0.05);
    EXPECT_EQ(measure_fundamental(std::vector<float>(1000, 0.0f), rate), 0.0);
}

TEST(PitchMeter, SpuriousLevelSeesAComponentEightyDecibelsDown) {
    const double rate = 48000.0;
    auto x = sine(5000.0, rate, 1.0, 0.3);
    EXPECT_LT(spurious_level_db(x, rate), -100.0);
    const auto small = sine(13000.0, rate, 1.0, 0.0);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] += small[i] * 1e-4f;  // -80 dB
    EXPECT_NEAR(spurious_level_db(x, rate), -80.0, 1.0);
}

// --- The generated samples -----------------------------------------------------------

TEST(GeneratedSamples, AreCanonicalPcmFilesOfAboutThreeSeconds) {
    const auto st = tuned_state();
    for (int i = 0; i <= kStringCount; ++i) {
        const auto file = program_dir() / st.wav_files[i];
        SCOPED_TRACE(file.string());
        const std::string bytes = read_file_bytes(file);
        ASSERT_GT(bytes.size(), 44u);
        const auto header = parse_wav_header(bytes);
        ASSERT_TRUE(header.format.has_value()) << describe(header.problem);
        EXPECT_EQ(header.format->fmt_body_offset, 20u);
        EXPECT_EQ(header.format->data_offset, 44u);
        EXPECT_EQ(header.format->data_size, bytes.size() - 44);
        EXPECT_EQ(header.format->channels, 1);
        EXPECT_EQ(header.format->bits_per_sample, 16);
        EXPECT_EQ(header.format->sample_rate, 44100u);
        EXPECT_EQ(header.format->byte_rate, 88200u);
        EXPECT_NEAR(static_cast<double>(bytes.size() - 44) / 88200.0, 3.0, 0.05);
    }
}

TEST(GeneratedSamples, RiseFastDecayAndEndInExactSilence) {
    const auto st = tuned_state();
    for (int s = 1; s <= kStringCount; ++s) {
        SCOPED_TRACE(st.wav_files[s]);
        const auto data = decode_sample_file(program_dir() / st.wav_files[s]);
        ASSERT_NE(data, nullptr);
        const float* x = data->frame_ptr();
        const std::span<const float> all(x, static_cast<std::size_t>(data->frames()));
        const double attack = rms(all.subspan(0, 2205));      // first 50 ms
        const double middle = rms(all.subspan(44100, 4410));  // 1.0 .. 1.1 s
        const double late = rms(all.subspan(all.size() - 20000, 4410));
        EXPECT_GT(attack, 1.5 * middle);  // a pluck, not a held tone
        EXPECT_GT(middle, late);
        EXPECT_EQ(all.back(), 0.0f);
        EXPECT_LT(std::abs(all[all.size() - 2]), 1e-4f);  // faded, not cut
        EXPECT_EQ(all.front(), 0.0f);
        float peak = 0;
        for (float v : all) peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 0.3f);
        EXPECT_LT(peak, 0.9f);
    }
}

TEST(GeneratedSamples, EachStringSoundsItsHomePitchWithinHalfACent) {
    const auto st = tuned_state();
    for (int s = 1; s <= kStringCount; ++s) {
        const auto data = decode_sample_file(program_dir() / st.wav_files[s]);
        ASSERT_NE(data, nullptr);
        const std::span<const float> x(data->frame_ptr() + 2205, 44100);  // 50 ms .. 1.05 s
        // The workbook's home position of the string, and its 79-step degree.
        const double expected = 262.0 * std::pow(2.0, st.cents(s, 0) / 1200.0);
        EXPECT_EQ(st.freq(s, 0), expected);
        EXPECT_NEAR(cents_between(measure_fundamental(x, 44100.0), expected), 0.0, 0.5)
            << st.wav_files[s];
        EXPECT_NEAR(st.cents(s, 0) * 79.0 / 1200.0, kHomeDegrees[s], 1e-4) << st.wav_files[s];
    }
    const auto ref = decode_sample_file(program_dir() / "00-ref.wav");
    ASSERT_NE(ref, nullptr);
    EXPECT_NEAR(
        measure_fundamental(std::span<const float>(ref->frame_ptr() + 22050, 44100), 44100.0),
        440.0, 0.01);
}

}  // namespace
}  // namespace orvena::test

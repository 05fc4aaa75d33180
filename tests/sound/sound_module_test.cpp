// The sound procedures heard through the mixer, offline: the pitch of plucks and held notes,
// and how the plucked channel and the held notes start, cut and overlap.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "pitch/pitch.h"
#include "sound/sound_module.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

class SoundModuleTest : public ModuleTest {
  protected:
    static double pitch_of(const std::vector<float>& sound, double from = 0.05) {
        return measure_fundamental(left_part(sound, from, 0.4), kDeviceRate);
    }
};

// A pluck sounds the frequency of its lever position, raised or lowered by the string's
// fine tuning.
TEST_F(SoundModuleTest, PlucksSoundTheFrequencyOfTheirLeverPosition) {
    const std::tuple<int, int, int> cases[] = {{1, -5, 0},    {1, 6, 0},   {12, -8, 0},
                                               {12, 1, 0},    {12, 7, 17}, {26, 12, 0},
                                               {26, -8, -23}, {26, 3, -23}};
    for (auto [s, p, offset] : cases) {
        st.akord_offset[s] = static_cast<std::int16_t>(offset);
        recompute_string_rates(st, s, true);
        auto m = make_module();
        m->play_tuned_sample(s, p);
        const double expected = st.freq(s, p) * std::pow(2.0, offset / 1200.0);
        EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.5)), expected), 0.0, 0.5)
            << "string " << s << " lever " << p << " offset " << offset;
    }
}

// A held note sounds its string's lever now with the string's fine tuning, whatever the last
// pluck wrote, and its file then holds that rate.
TEST_F(SoundModuleTest, AHeldNoteSoundsTheLeverNowWithTheFineTuning) {
    auto m = make_module();
    m->play_tuned_sample(12, 3);
    m->stop_plucked();
    render(m->mixer(), 0.01);
    st.akord_offset[12] = -1;
    recompute_string_rates(st, 12, true);
    m->play_note_alias(12, 0, st.note_names[12]);
    const double expected = st.freq(12, 0) * std::pow(2.0, -1 / 1200.0);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.5)), expected), 0.0, 0.5);
    EXPECT_EQ(le32_at(read_file_bytes(dir / st.wav_files[12]), 24),
              static_cast<std::uint32_t>(st.sample_rate(12, 0)));
}

TEST_F(SoundModuleTest, ASampleChangedOnDiskIsDecodedAgain) {
    const auto file = dir / st.wav_files[12];
    WavSpec shape;
    shape.tone_hz = 300.0;
    write_file_bytes(file, make_wav(shape));
    auto m = make_module();
    const int decoded = m->bank().decode_count();
    m->play_tuned_sample(12, 0);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.5)), 300.0), 0.0, 0.5);
    m->play_tuned_sample(12, 2);  // our own rewrite of the header is not a change
    render(m->mixer(), 0.1);
    EXPECT_EQ(m->bank().decode_count(), decoded);

    shape.tone_hz = 500.0;  // same size, new content and time
    write_file_bytes(file, make_wav(shape));
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    m->play_tuned_sample(12, 0);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.5)), 500.0), 0.0, 0.5);
    EXPECT_EQ(m->bank().decode_count(), decoded + 1);
}

// A pluck cuts the last pluck of any string within 5 ms and without a click, also when its
// own sample is missing or not playable or its lever position has no rate: then nothing
// sounds at all.
TEST_F(SoundModuleTest, APluckCutsTheLastPluckOfAnyStringWithoutAClick) {
    write_file_bytes(dir / st.wav_files[2], make_wav({.format_tag = 3, .bits = 32}));
    std::filesystem::remove(dir / st.wav_files[3]);
    for (auto [s, p] : {std::pair{1, 0}, {2, 0}, {3, 0}, {4, 13}}) {
        SCOPED_TRACE(s);
        auto m = make_module();
        m->play_tuned_sample(26, 0);
        const auto before = left_part(render(m->mixer(), 0.3), 0.2, 0.1);
        m->play_tuned_sample(s, p);
        const auto after = render(m->mixer(), 0.6);
        const auto sound = left_part(after, 0.005, 0.5);
        EXPECT_LT(amplitude_at(sound, kDeviceRate, st.freq(26, 0)), 1e-4);
        if (s == 1) {
            EXPECT_GT(amplitude_at(sound, kDeviceRate, st.freq(1, 0)), 1e-2);
            continue;
        }
        EXPECT_EQ(rms(sound), 0.0);
        // No step in the fade larger than the note's own steepest slope.
        float steepest_note = 0, steepest_fade = 0, last = before.back();
        for (std::size_t i = 1; i < before.size(); ++i)
            steepest_note = std::max(steepest_note, std::abs(before[i] - before[i - 1]));
        for (float v : left_part(after, 0.0, 0.005)) {
            steepest_fade = std::max(steepest_fade, std::abs(v - last));
            last = v;
        }
        EXPECT_GT(steepest_note, 0.0f);
        EXPECT_LE(steepest_fade, 1.1f * steepest_note);
    }
}

TEST_F(SoundModuleTest, AnOpenAliasIsNeitherRestartedNorDoubledEvenAfterItsSampleEnded) {
    {
        auto once = make_module();
        once->play_note_alias(12, 0, "A4");
        const auto reference = render(once->mixer(), 0.6);

        auto twice = make_module();
        twice->play_note_alias(12, 0, "A4");
        auto sound = render(twice->mixer(), 0.2);
        const std::string header = read_file_bytes(dir / st.wav_files[12]);
        for (int i = 0; i < 5; ++i) twice->play_note_alias(12, 4, "A4");
        twice->play_note_alias(17, 0, "A4");  // another string under the same alias
        EXPECT_EQ(read_file_bytes(dir / st.wav_files[12]), header) << "an open note is not retuned";
        const auto more = render(twice->mixer(), 0.4);
        sound.insert(sound.end(), more.begin(), more.end());
        ASSERT_EQ(sound.size(), reference.size());
        EXPECT_EQ(sound, reference);
        EXPECT_TRUE(twice->alias_open("A4"));
    }
    {
        auto m = make_module();
        m->play_note_alias(1, 0, "E6");
        const auto sound = render(m->mixer(), 3.2);
        EXPECT_EQ(rms(left_part(sound, 3.05, 0.1)), 0.0);
        EXPECT_TRUE(m->alias_open("E6"));
        m->play_note_alias(1, 0, "E6");  // still open: no new note
        EXPECT_EQ(rms(left_part(render(m->mixer(), 0.1), 0.0, 0.1)), 0.0);
        m->stop_note_alias("E6");
        m->play_note_alias(1, 0, "E6");
        EXPECT_GT(rms(left_part(render(m->mixer(), 0.1), 0.0, 0.1)), 0.01);
    }
}

// Stopping an alias silences only it (stopping one not open is harmless), and the stop call
// silences the pluck: from 5 ms after the stop on, the held note left is heard exactly as if
// it had played alone.
TEST_F(SoundModuleTest, StoppingSilencesOnlyWhatIsStopped) {
    struct Case {
        int held;
        const char* alias;
        bool pluck;  // else a second held note, A4
    };
    for (const Case& c : {Case{17, "C4", false}, Case{22, "E3", true}}) {
        SCOPED_TRACE(c.alias);
        auto ref = make_module();
        ref->play_note_alias(c.held, 0, c.alias);
        const auto alone = render(ref->mixer(), 0.5);

        auto m = make_module();
        m->stop_note_alias("A4");  // never opened
        m->play_note_alias(c.held, 0, c.alias);
        c.pluck ? m->play_tuned_sample(3, 1) : m->play_note_alias(12, 0, "A4");
        render(m->mixer(), 0.2);
        if (c.pluck) m->stop_plucked();
        for (const char* alias : {"A4", "A4", "B2"}) m->stop_note_alias(alias);
        const auto more = render(m->mixer(), 0.3);
        EXPECT_FALSE(m->alias_open("A4"));
        EXPECT_TRUE(m->alias_open(c.alias));
        const std::size_t skip = 2 * static_cast<std::size_t>(0.005 * kDeviceRate);
        const std::size_t at = 2 * static_cast<std::size_t>(0.2 * kDeviceRate);
        for (std::size_t i = skip; i < more.size(); ++i) {
            ASSERT_NEAR(more[i], alone[at + i], 1e-6) << "frame " << i / 2;
        }
    }
}

}  // namespace
}  // namespace orvena::test

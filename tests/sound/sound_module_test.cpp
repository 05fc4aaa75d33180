// The sound procedures heard through the mixer, offline: the pitch of plucks and held notes,
// and how the plucked channel and the held notes start, cut and overlap.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "sound/sound_module.h"
#include "sound_fixture.h"
#include "support/pitch.h"

namespace orvena::test {
namespace {

class SoundModuleTest : public ::testing::Test {
  protected:
    SoundModuleTest() : st(tuned_state()) { copy_samples(dir); }

    std::unique_ptr<SoundModule> make_module() {
        auto m = std::make_unique<SoundModule>(st, dir.path(), std::make_unique<NullOutput>());
        m->load_samples();
        return m;
    }

    static double pitch_of(const std::vector<float>& sound, double from = 0.05) {
        return measure_fundamental(left_part(sound, from, 0.8), kDeviceRate);
    }

    InstrumentState st;
    TempDir dir;
};

TEST_F(SoundModuleTest, PlucksSoundTheFrequencyOfTheirLeverPosition) {
    auto m = make_module();
    for (int s : {1, 12, 17, 26}) {
        for (int p : {static_cast<int>(st.mandal_min[s]), -1, 0, 1, 5,
                      static_cast<int>(st.mandal_max[s])}) {
            m->play_tuned_sample(s, p);
            const auto sound = render(m->mixer(), 0.9);
            EXPECT_NEAR(cents_between(pitch_of(sound), st.freq(s, p)), 0.0, 0.5)
                << "string " << s << " lever " << p;
        }
    }
}

TEST_F(SoundModuleTest, AFineTunedStringSoundsItsOffsetAbovePositionFrequency) {
    st.akord_offset[12] = 17;
    recompute_string_rates(st, 12, true);
    st.akord_offset[26] = -23;
    recompute_string_rates(st, 26, true);
    auto m = make_module();
    for (auto [s, p] : {std::pair{12, 0}, {12, 7}, {26, -8}, {26, 3}}) {
        m->play_tuned_sample(s, p);
        const double expected = st.freq(s, p) * std::pow(2.0, st.akord_offset[s] / 1200.0);
        EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.9)), expected), 0.0, 0.5)
            << "string " << s << " lever " << p;
    }
}

TEST_F(SoundModuleTest, AHeldNotePlaysTheRateItsFileHoldsNotTheLeverNow) {
    auto m = make_module();
    m->play_tuned_sample(12, 3);
    m->stop_plucked();
    render(m->mixer(), 0.01);
    // The lever goes back to 0 without a pluck: the file still holds position 3's rate.
    m->play_note_alias(st.wav_files[12], st.note_names[12]);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.9)), st.freq(12, 3)), 0.0, 0.5);
}

TEST_F(SoundModuleTest, ASampleChangedOnDiskIsDecodedAgain) {
    const auto file = dir / st.wav_files[12];
    WavSpec shape;
    shape.tone_hz = 300.0;
    write_file_bytes(file, make_wav(shape));
    auto m = make_module();
    const int decoded = m->bank().decode_count();
    m->play_tuned_sample(12, 0);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.9)), 300.0), 0.0, 0.5);
    m->play_tuned_sample(12, 2);  // our own rewrite of the header is not a change
    render(m->mixer(), 0.1);
    EXPECT_EQ(m->bank().decode_count(), decoded);

    shape.tone_hz = 500.0;  // same size, new content and time
    write_file_bytes(file, make_wav(shape));
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    m->play_tuned_sample(12, 0);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.9)), 500.0), 0.0, 0.5);
    EXPECT_EQ(m->bank().decode_count(), decoded + 1);
}

TEST_F(SoundModuleTest, ASecondPluckCutsTheFirstWithinFiveMillisecondsWithoutAClick) {
    // String 5 gets a silent sample, so whatever sounds after its pluck is what is left of
    // the first note.
    WavSpec quiet;
    quiet.tone_hz = 0.0;
    write_file_bytes(dir / st.wav_files[5], make_wav(quiet));
    auto m = make_module();
    m->play_tuned_sample(26, 0);
    const auto before = render(m->mixer(), 0.3);
    m->play_tuned_sample(5, 0);
    const auto after = render(m->mixer(), 0.05);
    const auto fade = left_part(after, 0.0, 0.005);
    const auto rest = left_part(after, 0.005, 0.045);
    EXPECT_GT(rms(left_part(before, 0.25, 0.05)), 0.05);
    EXPECT_EQ(rms(rest), 0.0);
    // No step larger than the note's own steepest slope.
    float steepest_note = 0, steepest_fade = 0;
    const auto tail = left_part(before, 0.2, 0.1);
    for (std::size_t i = 1; i < tail.size(); ++i) {
        steepest_note = std::max(steepest_note, std::abs(tail[i] - tail[i - 1]));
    }
    float last = tail.back();
    for (float v : fade) {
        steepest_fade = std::max(steepest_fade, std::abs(v - last));
        last = v;
    }
    EXPECT_LE(steepest_fade, 1.1f * steepest_note);
}

TEST_F(SoundModuleTest, APluckCutsTheLastPluckOfAnyString) {
    auto m = make_module();
    m->play_tuned_sample(26, 0);
    render(m->mixer(), 0.2);
    m->play_tuned_sample(1, 0);
    const auto sound = left_part(render(m->mixer(), 0.6), 0.01, 0.5);
    EXPECT_LT(amplitude_at(sound, kDeviceRate, st.freq(26, 0)), 1e-4);
    EXPECT_GT(amplitude_at(sound, kDeviceRate, st.freq(1, 0)), 1e-2);
}

TEST_F(SoundModuleTest, TwoHeldNotesAndAPluckSoundTogetherAsTheirSum) {
    auto alone = [&](auto play) {
        auto m = make_module();
        play(*m);
        return render(m->mixer(), 0.5);
    };
    const auto a = alone([&](SoundModule& m) { m.play_note_alias(st.wav_files[12], "A4"); });
    const auto b = alone([&](SoundModule& m) { m.play_note_alias(st.wav_files[20], "G3"); });
    const auto c = alone([&](SoundModule& m) { m.play_tuned_sample(8, 2); });
    const auto all = alone([&](SoundModule& m) {
        m.play_note_alias(st.wav_files[12], "A4");
        m.play_note_alias(st.wav_files[20], "G3");
        m.play_tuned_sample(8, 2);
    });
    double worst = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        worst = std::max(worst, static_cast<double>(std::abs(all[i] - (a[i] + b[i] + c[i]))));
    }
    EXPECT_LT(worst, 1e-5);
    EXPECT_GT(rms(a), 0.01);
    EXPECT_GT(rms(b), 0.01);
}

TEST_F(SoundModuleTest, OpeningAnOpenAliasAgainNeitherRestartsNorDoublesIt) {
    auto once = make_module();
    once->play_note_alias(st.wav_files[12], "A4");
    const auto reference = render(once->mixer(), 0.6);

    auto twice = make_module();
    twice->play_note_alias(st.wav_files[12], "A4");
    auto sound = render(twice->mixer(), 0.2);
    for (int i = 0; i < 5; ++i) twice->play_note_alias(st.wav_files[12], "A4");
    twice->play_note_alias(st.wav_files[17], "A4");  // another file under the same alias
    const auto more = render(twice->mixer(), 0.4);
    sound.insert(sound.end(), more.begin(), more.end());
    ASSERT_EQ(sound.size(), reference.size());
    EXPECT_EQ(sound, reference);
    EXPECT_TRUE(twice->alias_open("A4"));
}

TEST_F(SoundModuleTest, StoppingAnAliasSilencesOnlyItAndStoppingOneNotOpenIsHarmless) {
    auto ref = make_module();
    ref->play_note_alias(st.wav_files[17], "C4");
    const auto c4_alone = render(ref->mixer(), 0.5);

    auto m = make_module();
    m->stop_note_alias("A4");  // never opened
    m->play_note_alias(st.wav_files[17], "C4");
    m->play_note_alias(st.wav_files[12], "A4");
    auto sound = render(m->mixer(), 0.2);
    m->stop_note_alias("A4");
    m->stop_note_alias("A4");
    m->stop_note_alias("B2");
    const auto more = render(m->mixer(), 0.3);
    EXPECT_FALSE(m->alias_open("A4"));
    EXPECT_TRUE(m->alias_open("C4"));
    // From 5 ms after the stop on, only C4 is heard, exactly as if it had played alone.
    const std::size_t from = 2 * static_cast<std::size_t>(0.205 * kDeviceRate);
    for (std::size_t i = 2 * static_cast<std::size_t>(0.005 * kDeviceRate); i < more.size(); ++i) {
        ASSERT_NEAR(more[i], c4_alone[from - 2 * static_cast<std::size_t>(0.005 * kDeviceRate) + i],
                    1e-6)
            << "frame " << i / 2;
    }
    // And the alias can be opened again: it starts from the beginning.
    m->play_note_alias(st.wav_files[12], "A4");
    EXPECT_TRUE(m->alias_open("A4"));
}

TEST_F(SoundModuleTest, TheStopCallSilencesThePluckAndLeavesHeldNotesSounding) {
    auto ref = make_module();
    ref->play_note_alias(st.wav_files[22], "E3");
    const auto e3_alone = render(ref->mixer(), 0.5);

    auto m = make_module();
    m->play_note_alias(st.wav_files[22], "E3");
    m->play_tuned_sample(3, 1);
    render(m->mixer(), 0.2);
    m->stop_plucked();
    const auto more = render(m->mixer(), 0.3);
    const std::size_t skip = 2 * static_cast<std::size_t>(0.005 * kDeviceRate);
    const std::size_t at = 2 * static_cast<std::size_t>(0.2 * kDeviceRate);
    for (std::size_t i = skip; i < more.size(); ++i) {
        ASSERT_NEAR(more[i], e3_alone[at + i], 1e-6) << "frame " << i / 2;
    }
    EXPECT_TRUE(m->alias_open("E3"));
}

TEST_F(SoundModuleTest, AHeldNoteWhoseSampleEndedStaysOpenUntilStopped) {
    auto m = make_module();
    m->play_note_alias(st.wav_files[1], "E6");
    const auto sound = render(m->mixer(), 3.2);
    EXPECT_EQ(rms(left_part(sound, 3.05, 0.1)), 0.0);
    EXPECT_TRUE(m->alias_open("E6"));
    m->play_note_alias(st.wav_files[1], "E6");  // still open: no new note
    EXPECT_EQ(rms(left_part(render(m->mixer(), 0.1), 0.0, 0.1)), 0.0);
    m->stop_note_alias("E6");
    m->play_note_alias(st.wav_files[1], "E6");
    EXPECT_GT(rms(left_part(render(m->mixer(), 0.1), 0.0, 0.1)), 0.01);
}

}  // namespace
}  // namespace orvena::test

// The sound module heard offline: the pitch of every way of sounding a string, plucks and held
// notes, and sample files changed, too large, missing or not playable.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "sound/wav_header.h"
#include "sound_fixture.h"
#include "support/fake_audio_host.h"
#include "support/special_files.h"

namespace orvena::test {
namespace {

using ::testing::HasSubstr;
using SoundModuleTest = ModuleTest;

// A pluck or a letter key sounds the lever's frequency moved by the fine tuning and writes its
// rate into the header (over rate 0 too); a header it cannot write plays from memory, said once.
TEST_F(SoundModuleTest, EveryWayToSoundAStringPlaysItsLeverWithTheFineTuning) {
    // String, lever, fine tuning, by its letter key, file ("" as shipped, "rate 0", "read-only").
    const std::tuple<int, int, int, bool, std::string> rows[] = {
        {1, -5, 0, false, ""},          {1, 6, 0, false, ""},
        {12, -8, 0, false, ""},         {12, 7, 17, false, ""},
        {26, 12, 0, false, ""},         {26, -8, -23, false, ""},
        {12, 3, 0, false, ""},          {12, 0, -1, true, ""},
        {12, 0, 0, false, "rate 0"},    {17, 2, 0, true, "rate 0"},
        {12, 3, 0, false, "read-only"}, {26, -2, 0, false, "read-only"},
        {12, -2, 0, true, "read-only"}};
    for (const auto& [s, p, offset, key, file] : rows) {
        SCOPED_TRACE(testing::Message() << s << "/" << p << " " << offset << " " << file);
        std::string before = file_of(s);
        if (file == "rate 0") {
            before.replace(24, 8, 8, '\0');
            write_file_bytes(dir / st.build.wav_files[s], before);
        }
        st.settings.akord_offset[s] = static_cast<std::int16_t>(offset);
        recompute_string_rates(st, s, true);
        warnings.clear();
        auto m = make_module();
        if (file == "read-only")  // root writes whatever the permissions say
            m->set_rate_writer([](const auto&, std::int32_t) { return RatePatch::write_failed; });
        for (int twice = 0; twice < 2; ++twice)
            key ? m->play_note_alias(s, p, st.build.note_names[s]) : m->play_tuned_sample(s, p);
        EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.5)),
                                  st.derived.freq(s, p) * std::pow(2.0, offset / 1200.0)),
                    0.0, 0.5);
        if (key) {  // the key's release fades the held note out within 3 ms
            m->stop_note_alias(st.build.note_names[s]);
            EXPECT_EQ(rms(left_part(render(m->mixer(), 0.1), 0.01, 0.09)), 0.0);
        }
        const std::string after = file_of(s);
        if (file == "read-only") {
            EXPECT_EQ(after, before);
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_THAT(warnings[0], HasSubstr("yazılamıyor"));
        } else {  // 16-bit mono: the byte rate is twice the rate
            const auto rate = static_cast<std::uint32_t>(st.derived.sample_rate(s, p));
            EXPECT_TRUE(warnings.empty());
            EXPECT_EQ(std::pair(le32_at(after, 24), le32_at(after, 28)), std::pair(rate, 2 * rate));
        }
    }
}

TEST_F(SoundModuleTest, ASampleChangedOnDiskIsDecodedAgain) {
    const auto file = dir / st.build.wav_files[12];
    write_file_bytes(file, make_wav({.tone_hz = 300.0}));
    auto m = make_module();
    const int decoded = m->bank().decode_count();
    m->play_tuned_sample(12, 0);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.5)), 300.0), 0.0, 0.5);
    m->play_tuned_sample(12, 2);  // our own rewrite of the header is not a change
    render(m->mixer(), 0.1);
    EXPECT_EQ(m->bank().decode_count(), decoded);

    write_file_bytes(file, make_wav({.tone_hz = 500.0}));  // same size, new content and time
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    m->play_tuned_sample(12, 0);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.5)), 500.0), 0.0, 0.5);
    EXPECT_EQ(m->bank().decode_count(), decoded + 1);
}

// A pluck cuts the last pluck of any string within 5 ms and without a click, also when its own
// sample is missing or not playable or its lever has no rate: then nothing sounds at all.
TEST_F(SoundModuleTest, APluckCutsTheLastPluckOfAnyStringWithoutAClick) {
    std::filesystem::remove(dir / st.build.wav_files[3]);
    for (auto [s, p] : {std::pair{1, 0}, {3, 0}, {4, 13}}) {
        SCOPED_TRACE(s);
        auto m = make_module();
        m->play_tuned_sample(26, 0);
        const auto before = left_part(render(m->mixer(), 0.3), 0.2, 0.1);
        m->play_tuned_sample(s, p);
        const auto after = render(m->mixer(), 0.6);
        const auto sound = left_part(after, 0.005, 0.5);
        EXPECT_LT(amplitude_at(sound, kDeviceRate, st.derived.freq(26, 0)), 1e-4);
        if (s == 1) {
            EXPECT_GT(amplitude_at(sound, kDeviceRate, st.derived.freq(1, 0)), 1e-2);
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

// A held key leaves a ringing pluck alone; its repeats, and another string under its alias,
// neither restart nor retune nor double it, even after its sample ended.
TEST_F(SoundModuleTest, AnOpenAliasIsNeitherRestartedNorDoubledEvenAfterItsSampleEnded) {
    auto m = make_module();
    m->play_tuned_sample(26, 0);
    m->play_note_alias(1, 0, "E6");
    const auto first = render(m->mixer(), 3.2);
    EXPECT_GT(amplitude_at(left_part(first, 0.1, 0.2), kDeviceRate, st.derived.freq(26, 0)), 1e-2);
    EXPECT_EQ(rms(left_part(first, 3.05, 0.1)), 0.0);
    const std::string header = file_of(1);
    for (int p : {0, 0, 4}) m->play_note_alias(1, p, "E6");
    m->play_note_alias(17, 0, "E6");
    EXPECT_EQ(rms(render(m->mixer(), 0.1)), 0.0);
    EXPECT_EQ(file_of(1), header);
    EXPECT_TRUE(m->alias_open("E6"));
}

// What was played while nothing was heard is not heard late when a device comes; what plays
// on a device goes on when another of its rate takes over.
TEST_F(SoundModuleTest, ANewOutputOfTheSameRateKeepsOnlyWhatWasHeard) {
    for (const bool heard : {false, true}) {
        auto m = make_module();
        if (heard) m->use_output(std::make_unique<FakeOutput>("a", 128));
        m->play_tuned_sample(13, 0);
        m->use_output(std::make_unique<FakeOutput>("b", 128));
        EXPECT_EQ(rms(render(m->mixer(), 0.3)) > 0.0, heard) << heard;
    }
}

// A header before 33 MiB of silence: one warning naming 32 MB, the file kept, the rest plays.
TEST_F(SoundModuleTest, AHugeSampleIsRefusedWithOneWarningAndTheRestPlay) {
    const auto huge = dir / st.build.wav_files[12];
    std::string bytes = make_wav({});
    bytes.replace(4, 4, "\xF8\xFF\x0F\x02", 4);  // the RIFF size of 33 MiB
    write_file_bytes(huge, bytes);
    std::filesystem::resize_file(huge, 33u << 20);
    auto m = make_module();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_THAT(warnings[0],
                HasSubstr(st.build.wav_files[12] + " ses dosyası çok büyük (en çok 32 MB"));
    m->play_tuned_sample(12, 0);
    m->play_note_alias(12, 0, st.build.note_names[12]);
    EXPECT_EQ(rms(render(m->mixer(), 0.1)), 0.0);
    m->play_tuned_sample(13, 0);
    EXPECT_NEAR(cents_between(pitch_of(render(m->mixer(), 0.5)), st.derived.freq(13, 0)), 0.0, 0.5);
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(huge), 33u << 20);
}

class WavBytes : public ModuleTest {
  protected:
    // Plucks string 5 at lever 2, rate 52000 Hz, its sample being `bytes`; the sound rendered.
    std::vector<float> pluck_file(const std::string& bytes) {
        write_file_bytes(dir / "05-A5.wav", bytes);
        st.derived.sample_rate(5, 2) = 52000;
        SoundModule m(st, dir.path(), std::make_unique<NullOutput>());
        m.play_tuned_sample(5, 2);
        return render(m.mixer(), 0.5);
    }
};

// Exactly the rate and block align times it change, wherever the fmt chunk is; the 440 Hz tone
// stored at 44100 Hz then plays at 52000 Hz. Files that are not playable PCM stay as they were.
TEST_F(WavBytes, APluckPatchesTheRateWhereverTheFmtChunkIs) {
    const std::string list = chunk("LIST", std::string("INFOISFT\x05\0\0\0abcde", 17));
    const std::string junk = chunk("JUNK", std::string(27, '\0'));
    const std::string float_fmt = chunk("fmt ", make_wav({.format_tag = 3}).substr(20, 16));
    // The file, and the offset of its fmt body: RIFF header 12, chunk headers 8.
    const std::pair<WavSpec, std::size_t> cases[] = {
        {{}, 20},
        {{.chunks_before_fmt = list}, 12 + 8 + 18 + 8},
        {{.chunks_before_fmt = junk, .chunks_before_data = chunk("fact", "\x10\x10\x10\x10")},
         12 + 8 + 28 + 8},
        {{.format_tag = 0xFFFE, .channels = 2, .bits = 24, .fmt_size = 40}, 20},
        {{.bits = 8, .chunks_before_data = float_fmt}, 20},  // 8-bit; a 2nd fmt is not the format
    };
    for (const auto& [shape, fmt_body] : cases) {
        SCOPED_TRACE(fmt_body + shape.channels * 100 + shape.bits);
        const std::string before = make_wav(shape);
        const auto sound = pluck_file(before);
        const std::string after = read_file_bytes(dir / "05-A5.wav");
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(le32_at(after, fmt_body + 4), 52000u);
        EXPECT_EQ(le32_at(after, fmt_body + 8), shape.channels * shape.bits / 8u * 52000u);
        EXPECT_EQ(after.substr(0, fmt_body + 4), before.substr(0, fmt_body + 4));
        EXPECT_EQ(after.substr(fmt_body + 12), before.substr(fmt_body + 12));
        EXPECT_NEAR(cents_between(pitch_of(sound), 440.0 * 52000.0 / 44100.0), 0.0, 0.5);
    }
    // A chunk after the samples is not played: the 0.1 s tone ends and silence follows.
    const std::string tail = chunk("LIST", std::string(40000, '\x40'));
    EXPECT_EQ(rms(left_part(pluck_file(make_wav({.seconds = 0.1}) + tail), 0.2, 0.3)), 0.0);
}

TEST_F(WavBytes, FilesThatAreNotPlayablePcmStayByteForByteAndSilent) {
    const std::string canonical = make_wav({});
    std::string no_wave = canonical, odd_block = canonical;
    no_wave.replace(8, 4, "AVI ");
    odd_block[32] = 4;  // block align 4 for mono 16-bit
    for (const std::string& bytes :
         {make_wav({.format_tag = 3, .bits = 32}),
          make_wav({.format_tag = 0xFFFE, .bits = 32, .fmt_size = 40, .float_subformat = true}),
          make_wav({.channels = 3}), std::string("not the samples you are looking for\r\n"),
          canonical.substr(0, 30), canonical.substr(0, 36), no_wave, odd_block, std::string()}) {
        SCOPED_TRACE(bytes.size());
        EXPECT_EQ(rms(pluck_file(bytes)), 0.0);
        EXPECT_EQ(read_file_bytes(dir / "05-A5.wav"), bytes);
    }
}

// Positions without a rate, rates out of range, a missing sample and a FIFO in a sample's place
// write nothing, create nothing and are silent (the FIFO does not hold the pluck).
TEST_F(WavBytes, UnusedLeverPositionsBadRatesAndMissingFilesWriteNothingAndAreSilent) {
    const auto file = dir / st.build.wav_files[12], fifo = dir / st.build.wav_files[5];
    const std::string before = read_file_bytes(file);
    std::filesystem::remove(dir / st.build.wav_files[3]);
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    SoundModule m(st, dir.path(), std::make_unique<NullOutput>());
    st.derived.sample_rate(12, 4) = 999;
    st.derived.sample_rate(12, 5) = -44100;
    for (auto [s, p] : {std::pair{12, 13}, {12, -12}, {12, 4}, {12, 5}, {3, 1}, {5, 0}})
        m.play_tuned_sample(s, p);
    m.play_note_alias(3, 0, "C6");
    m.play_note_alias(12, 4, "A4");
    EXPECT_FALSE(m.alias_open("C6") || m.alias_open("A4"));
    EXPECT_EQ(rms(render(m.mixer(), 0.2)), 0.0);
    EXPECT_FALSE(std::filesystem::exists(dir / st.build.wav_files[3]));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(read_file_bytes(file), before);
    st.derived.sample_rate(12, 6) = 1000;  // the lowest rate plays
    m.play_tuned_sample(12, 6);
    EXPECT_EQ(le32_at(read_file_bytes(file), 24), 1000u);
}

// A sample its user may read but not write keeps sounding from memory: its rate goes unwritten,
// and the file is not taken for a bad one.
TEST_F(WavBytes, AReadOnlySampleIsUnwrittenNotBad) {
    const auto file = dir / st.build.wav_files[12];
    std::filesystem::permissions(file, std::filesystem::perms(0444));
    ASSERT_TRUE(::geteuid() != 0 || (::chown(dir.path().c_str(), 65534, 65534) == 0 &&
                                     ::chown(file.c_str(), 65534, 65534) == 0));
    const auto unwritten = [&] { return patch_wav_rate(file, 52000) == RatePatch::write_failed; };
    EXPECT_EQ(as_unprivileged_user(unwritten), "");
}

}  // namespace
}  // namespace orvena::test

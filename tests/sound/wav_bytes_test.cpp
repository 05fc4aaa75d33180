// What a pluck does to the bytes of sample files: exactly the rate and byte-rate fields of a
// playable PCM file change; anything else is left byte for byte as it was, and is silent.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "pitch/pitch.h"
#include "sound/sound_module.h"
#include "sound/wav_header.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

class WavBytes : public ModuleTest {
  protected:
    // Plucks string 5 with its sample file replaced by `bytes` at the given rate; returns
    // the rendered sound.
    std::vector<float> pluck_file(const std::string& bytes, std::int32_t rate) {
        write_file_bytes(dir / "05-A5.wav", bytes);
        st.sample_rate(5, 2) = rate;
        SoundModule m(st, dir.path(), std::make_unique<NullOutput>());
        m.play_tuned_sample(5, 2);
        return render(m.mixer(), 0.5);
    }
};

bool silent(const std::vector<float>& sound) {
    for (float v : sound) {
        if (v != 0.0f) return false;
    }
    return true;
}

// A pluck writes the lever position's rate and block align times it where the fmt chunk
// holds them, and nothing else; the sample then plays at that rate.
TEST_F(WavBytes, APluckPatchesTheRateWhereverTheFmtChunkIs) {
    struct Case {
        const char* what;
        WavSpec shape;
        std::size_t fmt_body;
    };
    const std::string list = chunk("LIST", std::string("INFOISFT\x05\0\0\0abcde", 17));
    // clang-format off
    const Case cases[] = {
        {"canonical 16-bit mono", {}, 20},
        {"LIST chunk with odd size before fmt", {.chunks_before_fmt = list}, 12 + 8 + 18 + 8},
        {"18-byte fmt body", {.fmt_size = 18}, 20},
        {"JUNK before fmt, fact before data",
         {.chunks_before_fmt = chunk("JUNK", std::string(27, '\0')),
          .chunks_before_data = chunk("fact", std::string(4, '\x10'))}, 12 + 8 + 28 + 8},
        {"extensible 24-bit stereo PCM",
         {.format_tag = 0xFFFE, .channels = 2, .bits = 24, .fmt_size = 40}, 20},
        {"8-bit PCM", {.bits = 8}, 20},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = make_wav(c.shape);
        const auto sound = pluck_file(before, 52000);
        const std::string after = read_file_bytes(dir / "05-A5.wav");
        ASSERT_EQ(after.size(), before.size());
        const unsigned block = c.shape.channels * c.shape.bits / 8u;
        EXPECT_EQ(le32_at(after, c.fmt_body + 4), 52000u);
        EXPECT_EQ(le32_at(after, c.fmt_body + 8), block * 52000u);
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (i >= c.fmt_body + 4 && i < c.fmt_body + 12) continue;
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
        // The 440 Hz tone stored at 44100 Hz plays at 52000 Hz.
        EXPECT_NEAR(cents_between(measure_fundamental(left_part(sound, 0.05, 0.4), kDeviceRate),
                                  440.0 * 52000.0 / 44100.0),
                    0.0, 0.5);
    }
}

TEST_F(WavBytes, FilesThatAreNotPlayablePcmStayByteForByteAndSilent) {
    const std::string canonical = make_wav(WavSpec{});
    std::string no_wave = canonical;
    no_wave.replace(8, 4, "AVI ");
    std::string odd_block = canonical;  // block align 4 for mono 16-bit
    odd_block[32] = 4;
    const std::pair<const char*, std::string> cases[] = {
        {"float", make_wav({.format_tag = 3, .bits = 32})},
        {"extensible float",
         make_wav({.format_tag = 0xFFFE, .bits = 32, .fmt_size = 40, .float_subformat = true})},
        {"four channels", make_wav({.channels = 4})},
        {"text", std::string("these are not the samples you are looking for\r\n")},
        {"truncated inside the fmt chunk", canonical.substr(0, 30)},
        {"truncated before the data chunk", canonical.substr(0, 36)},
        {"RIFF but not WAVE", no_wave},
        {"block align disagrees with channels and bits", odd_block},
        {"empty", std::string()},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(silent(pluck_file(bytes, 52000)));
        EXPECT_EQ(read_file_bytes(dir / "05-A5.wav"), bytes);
    }
}

// Positions without a rate, rates out of range, a missing sample and a FIFO in a sample's place
// write nothing, create nothing and are silent (the FIFO does not hold the pluck); the patch
// alone refuses such rates and files too.
TEST_F(WavBytes, UnusedLeverPositionsBadRatesAndMissingFilesWriteNothingAndAreSilent) {
    const auto file = dir / st.wav_files[12];
    const std::string before = read_file_bytes(file);
    std::filesystem::remove(dir / st.wav_files[3]);
    const auto fifo = dir / st.wav_files[5];
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    SoundModule m(st, dir.path(), std::make_unique<NullOutput>());
    st.sample_rate(12, 4) = 999;
    st.sample_rate(12, 5) = -44100;
    for (auto [s, p] : {std::pair{12, 13}, {12, -12}, {12, 4}, {12, 5}, {3, 1}, {5, 0}}) {
        m.play_tuned_sample(s, p);
    }
    m.play_note_alias(3, 0, st.note_names[3]);
    m.play_note_alias(12, 4, st.note_names[12]);
    EXPECT_FALSE(m.alias_open(st.note_names[3]) || m.alias_open(st.note_names[12]));
    EXPECT_TRUE(silent(render(m.mixer(), 0.2)));
    EXPECT_THROW(m.play_tuned_sample(12, 14), IndexOutOfRange);
    EXPECT_THROW(m.play_tuned_sample(27, 0), IndexOutOfRange);
    EXPECT_THROW(m.play_note_alias(12, 14, st.note_names[12]), IndexOutOfRange);
    EXPECT_EQ(read_file_bytes(file), before);
    EXPECT_FALSE(std::filesystem::exists(dir / st.wav_files[3]));

    EXPECT_EQ(patch_wav_rate(file, 999), RatePatch::rate_out_of_range);
    EXPECT_EQ(patch_wav_rate(file, kMaxSampleRateHz + 1), RatePatch::rate_out_of_range);
    EXPECT_EQ(patch_wav_rate(dir / "missing.wav", 44100), RatePatch::bad_header);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.wav"));
    EXPECT_EQ(patch_wav_rate(fifo, 44100), RatePatch::bad_header);
    EXPECT_EQ(read_wav_header(fifo).problem, WavProblem::cannot_open);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(read_file_bytes(file), before);
}

}  // namespace
}  // namespace orvena::test

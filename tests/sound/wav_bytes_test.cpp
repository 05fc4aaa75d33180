// What a pluck does to the bytes of sample files: exactly the rate and byte-rate fields of a
// playable PCM file change; anything else is left byte for byte as it was, and is silent.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "sound/wav_header.h"
#include "sound_fixture.h"

namespace orvena::test {
namespace {

class WavBytes : public ModuleTest {
  protected:
    // Plucks string 5 at lever 2, rate 52000 Hz, its sample being `bytes`; the sound rendered.
    std::vector<float> pluck_file(const std::string& bytes) {
        write_file_bytes(dir / "05-A5.wav", bytes);
        st.sample_rate(5, 2) = 52000;
        SoundModule m(st, dir.path(), std::make_unique<NullOutput>());
        m.play_tuned_sample(5, 2);
        return render(m.mixer(), 0.5);
    }
};

// The rate and block align times it are written where the fmt chunk holds them, and nothing
// else; the 440 Hz tone stored at 44100 Hz then plays at 52000 Hz.
TEST_F(WavBytes, APluckPatchesTheRateWhereverTheFmtChunkIs) {
    const std::string list = chunk("LIST", std::string("INFOISFT\x05\0\0\0abcde", 17));
    const std::string junk = chunk("JUNK", std::string(27, '\0'));
    // The file, and the offset of its fmt body: RIFF header 12, chunk headers 8.
    const std::pair<WavSpec, std::size_t> cases[] = {
        {{}, 20},
        {{.chunks_before_fmt = list}, 12 + 8 + 18 + 8},
        {{.fmt_size = 18}, 20},
        {{.chunks_before_fmt = junk, .chunks_before_data = chunk("fact", "\x10\x10\x10\x10")},
         12 + 8 + 28 + 8},
        {{.format_tag = 0xFFFE, .channels = 2, .bits = 24, .fmt_size = 40}, 20},
        {{.bits = 8}, 20},
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
}

TEST_F(WavBytes, FilesThatAreNotPlayablePcmStayByteForByteAndSilent) {
    const std::string canonical = make_wav({});
    std::string no_wave = canonical, odd_block = canonical;
    no_wave.replace(8, 4, "AVI ");
    odd_block[32] = 4;  // block align 4 for mono 16-bit
    for (const std::string& bytes :
         {make_wav({.format_tag = 3, .bits = 32}),
          make_wav({.format_tag = 0xFFFE, .bits = 32, .fmt_size = 40, .float_subformat = true}),
          make_wav({.channels = 4}), std::string("not the samples you are looking for\r\n"),
          canonical.substr(0, 30), canonical.substr(0, 36), no_wave, odd_block, std::string()}) {
        SCOPED_TRACE(bytes.size());
        EXPECT_EQ(rms(pluck_file(bytes)), 0.0);
        EXPECT_EQ(read_file_bytes(dir / "05-A5.wav"), bytes);
    }
}

// Positions without a rate, rates out of range, a missing sample and a FIFO in a sample's place
// write nothing, create nothing and are silent (the FIFO does not hold the pluck); the patch
// alone refuses such rates and files too.
TEST_F(WavBytes, UnusedLeverPositionsBadRatesAndMissingFilesWriteNothingAndAreSilent) {
    const auto file = dir / st.wav_files[12], fifo = dir / st.wav_files[5];
    const std::string before = read_file_bytes(file);
    std::filesystem::remove(dir / st.wav_files[3]);
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    SoundModule m(st, dir.path(), std::make_unique<NullOutput>());
    st.sample_rate(12, 4) = 999;
    st.sample_rate(12, 5) = -44100;
    for (auto [s, p] : {std::pair{12, 13}, {12, -12}, {12, 4}, {12, 5}, {3, 1}, {5, 0}})
        m.play_tuned_sample(s, p);
    m.play_note_alias(3, 0, "C6");
    m.play_note_alias(12, 4, "A4");
    EXPECT_FALSE(m.alias_open("C6") || m.alias_open("A4"));
    EXPECT_EQ(rms(render(m.mixer(), 0.2)), 0.0);
    EXPECT_THROW(m.play_tuned_sample(12, 14), IndexOutOfRange);
    EXPECT_THROW(m.play_tuned_sample(27, 0), IndexOutOfRange);
    EXPECT_THROW(m.play_note_alias(12, 14, "A4"), IndexOutOfRange);
    EXPECT_FALSE(std::filesystem::exists(dir / st.wav_files[3]));
    EXPECT_EQ(patch_wav_rate(file, 999), RatePatch::rate_out_of_range);
    EXPECT_EQ(patch_wav_rate(file, 1000001), RatePatch::rate_out_of_range);
    EXPECT_EQ(patch_wav_rate(dir / "missing.wav", 44100), RatePatch::bad_header);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.wav"));
    EXPECT_EQ(patch_wav_rate(fifo, 44100), RatePatch::bad_header);
    EXPECT_EQ(read_wav_header(fifo).problem, WavProblem::cannot_open);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(read_file_bytes(file), before);
}

}  // namespace
}  // namespace orvena::test

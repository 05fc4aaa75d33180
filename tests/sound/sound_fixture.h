#pragma once
// Shared pieces of the sound tests: the instrument tuned by the shipped workbook, copies of the
// shipped samples, WAV files built byte by byte, and the mixer rendered offline.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pitch/pitch.h"
#include "sound/mixer.h"
#include "sound/sound_module.h"
#include "support/temp_dir.h"
#include "tuning/instrument_state.h"

namespace orvena::test {

constexpr double kDeviceRate = 48000.0;

// Start-up's instrument: the shipped workbook's tuning, wav_files "00-ref.wav" .. "26-A2.wav".
InstrumentState tuned_state();
void copy_samples(const InstrumentState& st, const TempDir& dir);  // the 27 shipped samples

// `seconds` of the mixer in 256-frame blocks, interleaved stereo; a stretch of its left channel.
std::vector<float> render(Mixer& mixer, double seconds);
std::vector<float> left_part(const std::vector<float>& stereo, double from_s, double length_s);
// The pitch of the left channel from 50 ms on, over 0.4 s.
double pitch_of(const std::vector<float>& stereo);

// A sine of `f` Hz at half full scale; the right channel (if any) is the left one negated.
SampleData sine_sample(double f, double rate, double seconds, int channels = 1);

// A WAV file image holding a sine of `tone_hz` (at the stored rate) in every channel.
struct WavSpec {
    std::uint16_t format_tag = 1;  // 1 PCM, 3 float, 0xFFFE extensible
    std::uint16_t channels = 1;
    std::uint16_t bits = 16;
    std::uint32_t rate = 44100;
    std::uint32_t fmt_size = 16;                        // 16, 18 or 40
    bool float_subformat = false;                       // extensible only
    std::string chunks_before_fmt, chunks_before_data;  // raw chunks
    double tone_hz = 440.0, seconds = 1.0;
};
std::string make_wav(const WavSpec& shape);
std::string chunk(const std::string& id, const std::string& body);  // padded to even size
std::uint32_t le32_at(const std::string& bytes, std::size_t offset);

// Sound modules on the silent output playing copies of the shipped samples; warnings are kept.
class ModuleTest : public ::testing::Test {
  protected:
    ModuleTest() : st(tuned_state()) { copy_samples(st, dir); }
    std::unique_ptr<SoundModule> make_module() {
        auto m = std::make_unique<SoundModule>(st, dir.path(), std::make_unique<NullOutput>());
        m->on_warning([this](const std::string& text) { warnings.push_back(text); });
        m->load_samples();
        return m;
    }
    std::string file_of(int s) { return read_file_bytes(dir / st.build.wav_files[s]); }
    InstrumentState st;
    TempDir dir;
    std::vector<std::string> warnings;
};

}  // namespace orvena::test

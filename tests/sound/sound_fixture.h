#pragma once
// Shared pieces of the sound tests: an instrument state tuned to the 79-step system, copies
// of the shipped samples in a temporary folder, sound modules playing them, WAV files built
// byte by byte, and offline rendering of the mixer.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "sound/mixer.h"
#include "sound/sound_module.h"
#include "support/temp_dir.h"
#include "tuning/instrument_state.h"

namespace orvena::test {

constexpr double kDeviceRate = 48000.0;

// The instrument as start-up leaves it: names, lever limits, the tuning of the shipped
// workbook with freq and sample_rate derived, wav_files "00-ref.wav" .. "26-A2.wav".
InstrumentState tuned_state();

// Copies the 27 generated samples of the program folder into dir.
void copy_samples(const TempDir& dir);

// Renders `seconds` of the mixer in 256-frame blocks; interleaved stereo.
std::vector<float> render(Mixer& mixer, double seconds);

// A stretch of one channel: [from, from + length) seconds.
std::vector<float> left_part(const std::vector<float>& stereo, double from_s, double length_s,
                             double rate = kDeviceRate);

// A WAV file image. Sample data: a sine of `tone_hz` (at the stored rate) in every channel.
struct WavSpec {
    std::uint16_t format_tag = 1;  // 1 PCM, 3 float, 0xFFFE extensible
    std::uint16_t channels = 1;
    std::uint16_t bits = 16;
    std::uint32_t rate = 44100;
    std::uint32_t fmt_size = 16;    // 16, 18 or 40
    bool float_subformat = false;   // extensible only
    std::string chunks_before_fmt;  // raw chunk bytes placed between WAVE and fmt
    std::string chunks_before_data;
    double tone_hz = 440.0;
    double seconds = 1.0;
};
std::string make_wav(const WavSpec& shape);

// A raw chunk: id, little-endian size, body, pad byte for an odd size.
std::string chunk(const std::string& id, const std::string& body);

std::uint32_t le32_at(const std::string& bytes, std::size_t offset);

// The shipped tuning playing copies of the shipped samples in a fresh folder, through sound
// modules on the silent output; the warnings they show are kept.
class ModuleTest : public ::testing::Test {
  protected:
    ModuleTest() : st(tuned_state()) { copy_samples(dir); }
    std::unique_ptr<SoundModule> make_module() {
        auto m = std::make_unique<SoundModule>(st, dir.path(), std::make_unique<NullOutput>());
        m->on_warning([this](const std::string& text) { warnings.push_back(text); });
        m->load_samples();
        return m;
    }
    InstrumentState st;
    TempDir dir;
    std::vector<std::string> warnings;
};

}  // namespace orvena::test

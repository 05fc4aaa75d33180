#include "interchange/played_notes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "playing/midi_key_map.h"
#include "recording/wav_render.h"
#include "tuning/rounding.h"

namespace orvena {

namespace {

constexpr double kA4Hz = 440.0;
constexpr double kA4Key = 69.0;

bool audible(std::int32_t rate_hz) {
    return rate_hz >= kMinSampleRateHz && rate_hz <= kMaxSampleRateHz;
}

// How long a sample lasts at a rate, in whole milliseconds rounded up: the render stops
// reading it after its last frame.
std::int64_t sample_ms(const SampleData& data, std::int32_t rate_hz) {
    return (data.frames() * 1000 + rate_hz - 1) / rate_hz;
}

}  // namespace

double pluck_pitch(const InstrumentState& st, int sample_string, std::int32_t rate_hz) {
    const double home_hz = st.derived.freq(sample_string, 0);
    const std::int32_t home_rate =
        to_int32(kBaseSampleRate * std::pow(2.0, st.tables.sample_cents[sample_string] / 1200.0));
    if (!(home_hz > 0.0) || home_rate <= 0 || rate_hz <= 0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double hz = home_hz * static_cast<double>(rate_hz) / home_rate;
    return kA4Key + 12.0 * std::log2(hz / kA4Hz);
}

int played_key(const InstrumentState& st, int sample_string, double pitch) {
    StringKeyPitches pitches{};
    for (int s = 1; s <= kStringCount; ++s) pitches[s - 1] = string_key_pitch(st, s);
    pitches[sample_string - 1] = pitch;
    const MidiKeyMap map = midi_key_map(pitches);
    const auto found = std::find(map.begin(), map.end(), sample_string);
    if (found != map.end()) return static_cast<int>(found - map.begin());
    const int nearest = nearest_midi_key(pitch);
    return nearest >= 0 && nearest < kMidiKeyCount ? nearest : -1;
}

std::vector<PlayedNote> played_notes(const RenderSchedule& schedule, const InstrumentState& st,
                                     SampleBank& bank) {
    std::vector<PlayedNote> notes;
    const auto& plucks = schedule.plucks;
    for (std::size_t i = 0; i < plucks.size(); ++i) {
        const ScheduledPluck& pluck = plucks[i];
        if (pluck.sample_string == 0 || !audible(pluck.rate_hz)) continue;
        const SampleData* data = bank.get(st.build.wav_files[pluck.sample_string]);
        if (data == nullptr) continue;
        const std::int64_t cut = i + 1 < plucks.size() ? plucks[i + 1].at_ms : schedule.end_ms;
        const std::int64_t end = std::min(cut, pluck.at_ms + sample_ms(*data, pluck.rate_hz));
        if (end <= pluck.at_ms) continue;
        const double pitch = pluck_pitch(st, pluck.sample_string, pluck.rate_hz);
        const int key = std::isfinite(pitch) ? played_key(st, pluck.sample_string, pitch) : -1;
        if (key < 0) continue;
        notes.push_back({pluck.at_ms, end, pluck.sample_string, pitch, key});
    }
    return notes;
}

}  // namespace orvena

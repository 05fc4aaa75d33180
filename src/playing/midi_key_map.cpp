#include "playing/midi_key_map.h"

#include <cmath>
#include <optional>

namespace orvena {

namespace {

constexpr double kA4Hz = 440.0;
constexpr int kA4Key = 69;

bool on_keyboard(int key) {
    return key >= 0 && key < kMidiKeyCount;
}

}  // namespace

int nearest_midi_key(double pitch) {
    if (!(pitch > -1.0 && pitch < kMidiKeyCount + 1.0)) return -1;  // far off the keyboard
    const int below = static_cast<int>(std::floor(pitch));
    const double above_below = pitch - below;
    if (std::abs(above_below - 0.5) < 1e-9) return is_white_key(below + 1) ? below + 1 : below;
    return above_below < 0.5 ? below : below + 1;
}

namespace {

// The string that claims `key` as its nearest, nearer first, lower number on a tie.
std::optional<int> claimant(const StringKeyPitches& pitches,
                            const std::array<int, kStringCount>& nearest, int key) {
    std::optional<int> best;
    for (int i = 0; i < kStringCount; ++i) {
        if (nearest[i] != key) continue;
        if (!best || std::abs(pitches[i] - key) < std::abs(pitches[*best] - key)) best = i;
    }
    return best;
}

}  // namespace

bool is_white_key(int key) {
    constexpr bool kWhite[12] = {true,  false, true,  false, true,  true,
                                 false, true,  false, true,  false, true};
    return kWhite[((key % 12) + 12) % 12];
}

double string_key_pitch(const InstrumentState& st, int s) {
    const double hz = st.derived.freq(s, st.settings.mandal_pos[s]);
    if (!(hz > 0.0)) return -1.0;  // a position without a pitch plays no key
    return kA4Key + 12.0 * std::log2(hz / kA4Hz) + st.settings.akord_offset[s] / 100.0;
}

MidiKeyMap midi_key_map(const StringKeyPitches& pitches) {
    MidiKeyMap map{};
    std::array<int, kStringCount> nearest{};
    for (int i = 0; i < kStringCount; ++i) nearest[i] = nearest_midi_key(pitches[i]);

    std::array<bool, kStringCount> placed{};
    for (int key = 0; key < kMidiKeyCount; ++key) {
        if (const auto i = claimant(pitches, nearest, key)) {
            map[key] = static_cast<std::int8_t>(*i + 1);
            placed[*i] = true;
        }
    }
    for (int i = 0; i < kStringCount; ++i) {
        if (placed[i] || !on_keyboard(nearest[i])) continue;
        const int side = pitches[i] >= nearest[i] ? 1 : -1;
        const int key = nearest[i] + side;
        if (on_keyboard(key) && map[key] == 0) map[key] = static_cast<std::int8_t>(i + 1);
    }
    return map;
}

MidiKeyMap midi_key_map(const InstrumentState& st) {
    StringKeyPitches pitches{};
    for (int s = 1; s <= kStringCount; ++s) pitches[s - 1] = string_key_pitch(st, s);
    return midi_key_map(pitches);
}

}  // namespace orvena

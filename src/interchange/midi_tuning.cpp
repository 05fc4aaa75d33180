#include "interchange/midi_tuning.h"

#include <algorithm>
#include <cmath>

namespace orvena {

namespace {

constexpr int kFractionSteps = 16384;  // 14 bits per semitone
constexpr std::uint8_t kControl = 0xB0;
constexpr std::uint8_t kBend = 0xE0;
constexpr std::uint8_t kParameterMsb = 101, kParameterLsb = 100;
constexpr std::uint8_t kDataMsb = 6;
constexpr std::uint16_t kTuningProgram = 3, kTuningBank = 4, kBendRange = 0;

std::uint8_t low7(int value) {
    return static_cast<std::uint8_t>(value & 0x7F);
}

void control(MidiBytes& out, std::uint8_t channel, std::uint8_t number, std::uint8_t value) {
    out.insert(out.end(), {static_cast<std::uint8_t>(kControl | (channel & 0x0F)), number,
                           static_cast<std::uint8_t>(value & 0x7F)});
}

}  // namespace

std::optional<std::array<std::uint8_t, 3>> mts_frequency(double pitch) {
    if (!std::isfinite(pitch) || pitch < 0.0 || pitch >= 128.0) return std::nullopt;
    int key = static_cast<int>(std::floor(pitch));
    int fraction = static_cast<int>(std::lround((pitch - key) * kFractionSteps));
    if (fraction == kFractionSteps) {
        ++key;
        fraction = 0;
    }
    // 127 with the two fraction bytes at 7F 7F is the standard's "leave this key alone".
    if (key > 127 || (key == 127 && fraction == kFractionSteps - 1)) return std::nullopt;
    return std::array<std::uint8_t, 3>{low7(key), low7(fraction >> 7), low7(fraction)};
}

std::optional<MidiBytes> mts_note_change(std::uint8_t program, std::uint8_t key, double pitch,
                                         std::uint8_t device) {
    const auto frequency = mts_frequency(pitch);
    if (!frequency) return std::nullopt;
    return MidiBytes{0xF0,
                     0x7F,
                     low7(device),
                     0x08,
                     0x02,
                     low7(program),
                     0x01,
                     low7(key),
                     (*frequency)[0],
                     (*frequency)[1],
                     (*frequency)[2],
                     0xF7};
}

MidiBytes registered_parameter(std::uint8_t channel, std::uint16_t number, std::uint8_t coarse) {
    MidiBytes out;
    control(out, channel, kParameterMsb, low7(number >> 7));
    control(out, channel, kParameterLsb, low7(number));
    control(out, channel, kDataMsb, coarse);
    control(out, channel, kParameterMsb, 0x7F);
    control(out, channel, kParameterLsb, 0x7F);
    return out;
}

MidiBytes select_tuning(std::uint8_t channel, std::uint8_t bank, std::uint8_t program) {
    // The bank first: a synthesizer switches to the tuning when the program arrives.
    MidiBytes out = registered_parameter(channel, kTuningBank, bank);
    const MidiBytes then = registered_parameter(channel, kTuningProgram, program);
    out.insert(out.end(), then.begin(), then.end());
    return out;
}

MidiBytes bend_range(std::uint8_t channel, std::uint8_t semitones) {
    return registered_parameter(channel, kBendRange, semitones);
}

MidiBytes pitch_bend(std::uint8_t channel, double semitones, double range) {
    const long value = std::clamp(std::lround(8192.0 + semitones / range * 8192.0), 0L, 16383L);
    return {static_cast<std::uint8_t>(kBend | (channel & 0x0F)), low7(static_cast<int>(value)),
            low7(static_cast<int>(value >> 7))};
}

}  // namespace orvena

#include "interchange/midi_file.h"

#include <limits>
#include <stdexcept>

#include "interchange/smf_writer.h"

namespace orvena {

namespace {

constexpr int kUnitsPerQuarter = 16;
constexpr std::int64_t kLongestMs = std::int64_t{1} << 40;  // keeps the products in 64 bits
constexpr std::uint8_t kTuningProgram = 0, kTuningBank = 0;
constexpr std::uint8_t kMpeManager = 0;         // channel 1 announces the zone
constexpr std::uint16_t kMpeConfiguration = 6;  // registered parameter: member channels
constexpr std::uint8_t kMpeMembers = 15;

MidiBytes program_change(std::uint8_t channel) {
    return {static_cast<std::uint8_t>(0xC0 | channel), kMidiProgram};
}

MidiBytes note(std::uint8_t status, std::uint8_t channel, int key, std::uint8_t velocity) {
    return {static_cast<std::uint8_t>(status | channel), static_cast<std::uint8_t>(key), velocity};
}

void set_up_tuning_channel(SmfTrack& track) {
    track.channel(0, program_change(0));
    track.channel(0, select_tuning(0, kTuningBank, kTuningProgram));
}

void set_up_bend_channels(SmfTrack& track) {
    // An MPE synthesizer learns the zone from channel 1; others ignore the parameter.
    track.channel(0, registered_parameter(kMpeManager, kMpeConfiguration, kMpeMembers));
    for (const std::uint8_t channel : kBendChannels) {
        track.channel(0, program_change(channel));
        track.channel(0, bend_range(channel, kBendSemitones));
    }
}

}  // namespace

std::uint32_t midi_tick(std::int64_t ms, int speed) {
    // ticks = ms * 480 / (16 * speed), to the nearest (a half rounds up).
    const std::int64_t per_ms_twice = 2 * kMidiTicksPerQuarter;
    const std::int64_t per_speed_twice = 2 * kUnitsPerQuarter * static_cast<std::int64_t>(speed);
    if (speed <= 0 || ms < 0 || ms > kLongestMs) throw std::out_of_range("no tick for this time");
    const std::int64_t tick = (ms * per_ms_twice + per_speed_twice / 2) / per_speed_twice;
    if (tick > std::numeric_limits<std::uint32_t>::max()) {
        throw std::out_of_range("no tick for this time");
    }
    return static_cast<std::uint32_t>(tick);
}

std::uint32_t midi_tempo(int speed) {
    return static_cast<std::uint32_t>(kUnitsPerQuarter * speed * 1000);
}

std::string midi_file(const std::vector<PlayedNote>& notes, int speed, MidiTuning tuning,
                      const std::string& track_name) {
    SmfTrack track;
    track.name(track_name);
    track.tempo(0, midi_tempo(speed));
    track.time_signature(0, 4, 2);
    if (tuning == MidiTuning::mts) {
        set_up_tuning_channel(track);
    } else {
        set_up_bend_channels(track);
    }
    std::size_t next_channel = 0;
    for (const PlayedNote& n : notes) {
        const std::uint32_t on = midi_tick(n.start_ms, speed);
        const std::uint32_t off = midi_tick(n.end_ms, speed);
        std::uint8_t channel = 0;
        if (tuning == MidiTuning::mts) {
            const auto change =
                mts_note_change(kTuningProgram, static_cast<std::uint8_t>(n.key), n.pitch);
            if (!change) continue;  // a pitch the standard cannot say
            track.sysex(on, *change);
        } else {
            channel = kBendChannels[next_channel++ % std::size(kBendChannels)];
            track.channel(on, pitch_bend(channel, n.pitch - n.key, kBendSemitones));
        }
        track.channel(on, note(0x90, channel, n.key, kMidiVelocity));
        track.channel(off, note(0x80, channel, n.key, 0));
    }
    return smf_file({track}, kMidiTicksPerQuarter);
}

}  // namespace orvena

#pragma once
// The Standard MIDI File of a list of played notes: format 1, one track, 480 ticks per quarter
// note, the tempo of the speed in force (a quarter note is 16 units of `speed` ms), each note
// at a fixed velocity on the key nearest its pitch, with its exact pitch sent before it.
// Pure: the bytes of the file.

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/played_notes.h"

namespace orvena {

inline constexpr std::uint16_t kMidiTicksPerQuarter = 480;
inline constexpr std::uint8_t kMidiVelocity = 100;
inline constexpr std::uint8_t kMidiProgram = 15;   // General MIDI "Dulcimer" (16), a struck zither
inline constexpr std::uint8_t kBendSemitones = 2;  // the bend range of every note channel

enum class MidiTuning {
    mts,   // the tuning standard: one channel, every key retuned before its note
    bend,  // a pitch bend per note, each note on the next channel of its own
};

// The channels the pitch-bend form deals notes to in turn: 2..16 without 10, which General
// MIDI keeps for drums (numbered from 0 here).
inline constexpr std::uint8_t kBendChannels[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15};

// The tick of a moment `ms` (>= 0) after the start at `speed` (> 0) ms per unit, to the
// nearest tick. Throws std::out_of_range beyond the ticks a file can count.
std::uint32_t midi_tick(std::int64_t ms, int speed);

// Microseconds per quarter note at `speed` ms per unit.
std::uint32_t midi_tempo(int speed);

// Throws std::out_of_range for notes beyond the times a file can hold.
std::string midi_file(const std::vector<PlayedNote>& notes, int speed, MidiTuning tuning,
                      const std::string& track_name);

}  // namespace orvena

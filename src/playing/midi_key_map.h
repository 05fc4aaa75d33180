#pragma once
// Which string a key of a MIDI keyboard plays. Each string answers to the 12-tone key
// (A4 = 440 Hz, key 69) nearest the pitch it sounds now, levers and fine tuning included:
//  - a string exactly half-way between two keys takes the white one (between B and C, or E
//    and F, the upper);
//  - when two strings are nearest the same key, the one nearer keeps it (the lower string
//    number on a tie) and the other moves to the free neighbouring key on its own side of it;
//    with that key taken too, it has no key;
//  - keys with no string play nothing.
// Pure functions of the state: the map is made again for every note-on, so it follows the
// levers.

#include <array>
#include <cstdint>

#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr int kMidiKeyCount = 128;

// Element k is the string (1..26) key k plays, 0 for none.
using MidiKeyMap = std::array<std::int8_t, kMidiKeyCount>;
// Element s - 1 is the pitch of string s as a fractional key number (69.0 = 440 Hz).
using StringKeyPitches = std::array<double, kStringCount>;

bool is_white_key(int key);

// The 12-tone key nearest a pitch given as a fractional key number; half-way between two
// keys, the white one (the upper of two white ones). -1 far off the keyboard.
int nearest_midi_key(double pitch);

// The pitch string s (1..26) sounds now: its lever in force and its fine tuning.
double string_key_pitch(const InstrumentState& st, int s);

MidiKeyMap midi_key_map(const StringKeyPitches& pitches);
MidiKeyMap midi_key_map(const InstrumentState& st);

}  // namespace orvena

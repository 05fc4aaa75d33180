#pragma once
// The MIDI messages that carry a note's exact pitch to a synthesizer, in the two ways the
// MIDI export offers:
//  - the MIDI Tuning Standard: a real-time single-note tuning change (universal real-time
//    system exclusive, sub-IDs 08 02) retunes one key of a tuning program, which each channel
//    selects with the registered parameters 4 (tuning bank) and 3 (tuning program);
//  - a pitch bend per note, on a channel of its own (bend range set by registered
//    parameter 0), for synthesizers without the tuning standard.
// Pure functions returning message bytes (channel messages with their status byte; system
// exclusive messages from F0 to F7).

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvena {

using MidiBytes = std::vector<std::uint8_t>;

// The three frequency bytes of the tuning standard for a pitch given as a fractional key:
// the key below it (or at it) and the rest in 1/16384 of a semitone, most significant seven
// bits first. A rest that rounds up to a whole semitone moves to the next key. Nothing for a
// pitch below key 0 or beyond what the three bytes can say (7F 7F 7F means "no change").
std::optional<std::array<std::uint8_t, 3>> mts_frequency(double pitch);

// F0 7F <device> 08 02 <program> 01 <key> <frequency> F7: key `key` of tuning program
// `program` sounds `pitch` from now on, notes already sounding on it included. Nothing when
// mts_frequency has no bytes for the pitch.
std::optional<MidiBytes> mts_note_change(std::uint8_t program, std::uint8_t key, double pitch,
                                         std::uint8_t device = 0x7F);

// Controller messages that set registered parameter `number` (0..16383) of a channel (0..15)
// to a coarse value (data entry, controller 6), then close the parameter (127/127) so later
// data entries change nothing. The fine byte is not sent: every parameter used here is whole
// (semitones, a bank, a program), and some synthesizers apply a fine byte as a value of its own.
MidiBytes registered_parameter(std::uint8_t channel, std::uint16_t number, std::uint8_t coarse);

// The channel plays with tuning program `program` of bank `bank`: parameter 4, then 3.
MidiBytes select_tuning(std::uint8_t channel, std::uint8_t bank, std::uint8_t program);

// The channel's pitch bend range in whole semitones (parameter 0).
MidiBytes bend_range(std::uint8_t channel, std::uint8_t semitones);

// The pitch bend message (En lsb msb) that moves a key by `semitones` on a channel whose
// bend range is `range` semitones; the bend saturates at the ends of its 14 bits.
MidiBytes pitch_bend(std::uint8_t channel, double semitones, double range);

}  // namespace orvena

#pragma once
// Standard MIDI File bytes: tracks of timed events (channel messages, system exclusive
// messages, meta events), each written with its delta time as a variable-length number, and
// the header chunk that holds them. Pure: no file is touched here.

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/midi_tuning.h"

namespace orvena {

// The variable-length quantity of a delta time or a length (7 bits a byte, high bit set on
// every byte but the last). Values beyond 0x0FFFFFFF are not allowed in a file.
std::string midi_varlen(std::uint32_t value);

// One track (MTrk chunk). Events may be added in any order of time; events of the same tick
// keep the order they were added in.
class SmfTrack {
  public:
    // One or more complete channel messages, all at `tick`.
    void channel(std::uint32_t tick, const MidiBytes& messages);
    // A system exclusive message from F0 to F7.
    void sysex(std::uint32_t tick, const MidiBytes& message);
    void meta(std::uint32_t tick, std::uint8_t type, const std::string& data);

    void name(const std::string& text) { meta(0, 0x03, text); }
    void tempo(std::uint32_t tick, std::uint32_t microseconds_per_quarter);
    // numerator/2^denominator_power, MIDI clocks per click 24, 8 thirty-seconds a quarter.
    void time_signature(std::uint32_t tick, std::uint8_t numerator, std::uint8_t denominator_power);

    // The chunk, its events in time order, ending with the end-of-track event at the last
    // event's tick.
    std::string chunk() const;

  private:
    struct Event {
        std::uint32_t tick;
        std::string bytes;  // the event without its delta time
    };
    std::vector<Event> events_;
};

// A format 1 file of the tracks, `division` ticks per quarter note.
std::string smf_file(const std::vector<SmfTrack>& tracks, std::uint16_t division);

}  // namespace orvena

#pragma once
// Playing from a MIDI keyboard. A key holds its string's note through the same path as a
// letter key (hold_string / release_string, so the same locks apply); the string comes from
// midi_key_map at the moment the key goes down, and the key-up stops that string even when
// the levers have moved meanwhile. Every channel is heard.
//  - note-on with velocity 0 is a note-off;
//  - the sustain pedal (controller 64, down at 64 and above) keeps released notes sounding
//    until it goes up;
//  - All Notes Off (controller 123) and All Sound Off (120) stop every note MIDI started.
// Event thread only: the device's messages are handed over to it first.

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "display/play_context.h"
#include "playing/midi_key_map.h"

namespace orvena {

class MidiPlayer {
  public:
    // `blocked` says whether the window takes no keys now (a message box is open); while it
    // does, keys going down are ignored.
    explicit MidiPlayer(PlayContext& ctx, std::function<bool()> blocked = {});

    // One complete message, status byte first; anything else is ignored.
    void receive(std::span<const unsigned char> message);
    // Stops every note MIDI holds or keeps, locks or not (the device went away).
    void release_all();

  private:
    void key_down(int key);
    void key_up(int key);
    void pedal(bool down);
    bool held_by_a_key(int s) const;

    PlayContext& ctx_;
    std::function<bool()> blocked_;
    std::array<std::int8_t, kMidiKeyCount> key_string_{};  // the string each key holds; 0 none
    std::array<bool, kStringCount + 1> kept_{};            // released under the pedal
    bool pedal_down_ = false;
};

}  // namespace orvena

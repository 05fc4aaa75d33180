#pragma once
// MidiInput on the ALSA sequencer through RtMidi. Without a sequencer (a headless machine)
// it finds no ports and opens none; it never throws.

#include <memory>

#include "playing/midi_input.h"

namespace orvena {

std::unique_ptr<MidiInput> make_rtmidi_input();

}  // namespace orvena

// The main window's MIDI keyboard: played like the letter keys, chosen in "Ses ayarları".

#include <QApplication>

#include <iostream>

#include "shell/arayuz.h"

namespace orvena {

void arayüz::connect_midi(const MidiConfig& config) {
    // A message box that is open takes the letter keys from the window; it takes these too.
    auto message_box_open = [] { return QApplication::activeModalWidget() != nullptr; };
    midi = std::make_unique<MidiControl>(*play, message_box_open, config, std::cerr);
    midi->open_saved();
    sound_control->attach_midi(midi.get());
}

}  // namespace orvena

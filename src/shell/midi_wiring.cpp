// The main window's MIDI keyboard: played like the letter keys, chosen in "Ses ayarları".

#include <QApplication>

#include <iostream>

#include "shell/arayuz.h"

namespace orvena {

void arayüz::connect_midi(const MidiConfig& config) {
    // A message box that is open takes the letter keys from the window; it takes these too.
    auto message_box_open = [] { return QApplication::activeModalWidget() != nullptr; };
    midi_ = std::make_unique<MidiControl>(*play_, message_box_open, config, std::cerr);
    midi_->open_saved();
    sound_control_->attach_midi(midi_.get());
}

}  // namespace orvena

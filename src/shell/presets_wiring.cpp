// The main window's makam and pitch level handlers.

#include "presets/transposition.h"
#include "shell/arayuz.h"

namespace orvena {

void arayüz::connect_presets() {
    ahenk_controls = std::make_unique<WindowAhenkControls>(Option1, *HScroll1, *Text3, Option5);
    presets = std::make_unique<PresetContext>(
        PresetContext{st, Picture10->surface(), dialogs, *views, *ahenk_controls});
    Option1.on_click([this](int index) { Option1_Click(*presets, index); });
    HScroll1->on_change([this] { HScroll1_Change(*presets); });
}

}  // namespace orvena

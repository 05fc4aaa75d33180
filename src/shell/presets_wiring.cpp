// The main window's makam and pitch level handlers.

#include "presets/makam_files.h"
#include "presets/transposition.h"
#include "shell/arayuz.h"

namespace orvena {

void arayüz::connect_presets(const std::filesystem::path& folder) {
    ahenk_controls_ = std::make_unique<WindowAhenkControls>(Option1, *HScroll1, *Text3, Option5);
    presets_ = std::make_unique<PresetContext>(
        PresetContext{st, Picture10->surface(), dialogs_, *views_, *ahenk_controls_});
    Option1.on_click([this](int index) { Option1_Click(*presets_, index); });
    HScroll1->on_change([this] { HScroll1_Change(*presets_); });

    makam_controls_ = std::make_unique<WindowMakamControls>(*Text1, *File2);
    makam_ = std::make_unique<MakamContext>(MakamContext{*presets_, *makam_controls_, folder});
    File2->watch_folder();
    connect(save_buton, &QPushButton::clicked, this, [this] { save_buton_Click(*makam_); });
    connect(open_buton, &QPushButton::clicked, this, [this] { open_buton_Click(*makam_); });
    File2->on_click([this] { File2_Click(*makam_); });
}

}  // namespace orvena

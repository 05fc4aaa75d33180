// The load of the main window: the start-up steps from the program folder to the start values.

#include <QPushButton>
#include <QString>

#include <iostream>
#include <system_error>
#include <vector>

#include "display/instrument_drawing.h"
#include "display/key_legend.h"
#include "files/program_folder.h"
#include "shell/arayuz.h"
#include "tuning/start_values.h"
#include "tuning/tablo_oku.h"

namespace orvena {

StartupOutcome arayüz::Form_Load(const LoadContext& context) {
    if (!open_program_folder(context.program_folder)) return {false, 1};
    draw_instrument(context);
    if (!read_tuning()) return {false, 1};
    list_samples_and_open_sound(context);
    set_start_values();
    connect_handlers(context);
    if (context.unload_splash) context.unload_splash();
    loaded_ = true;
    return {true, 0};
}

// The program works in its folder (it is also the current directory, where the file dialogs
// start); the file lists show its samples, makam and sequence files. False, with the message
// shown, when the workbook is not there.
bool arayüz::open_program_folder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    program_folder_ = std::filesystem::current_path();

    st.build.workbook_name = "dizek.xls";
    File1->setPattern("*.wav");
    File1->setPath(program_folder_);
    File2->setPattern("*.mkm");
    File2->setPath(program_folder_);
    File3->setPattern("*.ses");
    File3->setPath(program_folder_);

    if (!folder_has_exact_name(program_folder_, st.build.workbook_name)) {
        dialogs_.message(st.build.workbook_name + "  isimli excell dosyası bulunamadı");
        return false;
    }
    return true;
}

// Lays the window out for the screen and draws the instrument and the key legend, before the
// tuning is read.
void arayüz::draw_instrument(const LoadContext& context) {
    arayüzyerleşimi(context.screen_width_twips, context.screen_height_twips);
    set_lever_limits(st.build);
    st.selection.cur_string =
        27;  // no string is the selected one while the instrument is first drawn
    resim(Picture2->surface(), st);
    set_string_geometry(st.build);
    set_names(st.build);
    print_key_legend(Picture10->surface(), st);
}

// Imports the workbook's tables and derives the others; every lever and fine tuning at 0.
// False, with the message shown, when the workbook cannot be used.
bool arayüz::read_tuning() {
    if (const auto failure = import_tuning(st, program_folder_ / st.build.workbook_name)) {
        dialogs_.message(import_failure_message(*failure));
        return false;
    }
    Option4.button(1)->setText(QString::fromStdString(st.build.option4_captions[0]));
    Option4.button(2)->setText(QString::fromStdString(st.build.option4_captions[1]));
    clear_levers(st.settings);
    return true;
}

// The sample files in name order (a count other than 27 is reported, and the program goes on)
// and the sound module, silent until the output opened in the background is ready.
void arayüz::list_samples_and_open_sound(const LoadContext& context) {
    const int listed = File1->ListCount();
    if (const auto warning = sample_count_warning(listed)) dialogs_.message(*warning);
    std::vector<std::string> names;
    for (int i = 0; i < listed; ++i) names.push_back(File1->List(i));
    take_sample_names(st.build, names);
    sound_ = std::make_unique<SoundModule>(st, program_folder_, std::make_unique<NullOutput>());
    sound_control_ = std::make_unique<SoundControl>(*this, *sound_, context.sound, std::cerr);
    sound_->on_warning([this](const std::string& text) { dialogs_.notice(text); });
    if (context.sound.open) sound_control_->open_output();
}

// The stopwatch and the state the window starts in: nothing recording or playing, the
// SÜPÜRDE pitch level, the levers free, string 12 selected.
void arayüz::set_start_values() {
    timer_ = std::make_unique<xTimer>();
    stop_buton->setEnabled(false);
    pause_buton->setEnabled(false);
    orvena::set_start_values(st, static_cast<std::int16_t>(VScroll1->Value()));
}

void arayüz::connect_handlers(const LoadContext& context) {
    connect_playing(context.decimal_separator);
    connect_midi(context.midi);
    connect_presets(program_folder_);
    connect_tuning(context);
    connect_scala_export();
    connect_wav_export();
    connect_interchange_exports();
    connect_recording();
    connect_sequences();
}

}  // namespace orvena

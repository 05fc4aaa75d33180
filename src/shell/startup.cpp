// The load of the main window: the start-up steps from the program folder to the start values.

#include <QPushButton>
#include <QString>

#include <cstdio>
#include <iostream>
#include <system_error>

#include "display/instrument_drawing.h"
#include "shell/arayuz.h"
#include "tuning/tablo_oku.h"

namespace orvena {

namespace {

// True when the folder holds a regular file named exactly name. The comparison is by the
// name the folder returns, so a file stored under another case does not count even where
// the file system would open it.
bool folder_has_exact_name(const std::filesystem::path& folder, const std::string& name) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return false;
    for (const auto& entry : it) {
        if (entry.path().filename().string() != name) continue;
        std::error_code type_ec;
        return entry.is_regular_file(type_ec);
    }
    return false;
}

}  // namespace

StartupOutcome arayüz::Form_Load(const LoadContext& context) {
    // 4. The program's folder is the current directory: every file name from here on is a
    //    bare name resolved there.
    std::error_code ec;
    std::filesystem::current_path(context.program_folder, ec);
    const std::filesystem::path folder = std::filesystem::current_path();

    // 5-6.
    st.workbook_name = "dizek.xls";
    File1->setPattern("*.wav");
    File1->setPath(folder);
    File2->setPattern("*.mkm");
    File2->setPath(folder);
    File3->setPattern("*.ses");
    File3->setPath(folder);

    // 7.
    if (!folder_has_exact_name(folder, st.workbook_name)) {
        dialogs.message(st.workbook_name + "  isimli excell dosyası bulunamadı");
        return {false, 1};
    }

    // 8-13.
    arayüzyerleşimi(context.screen_width_twips, context.screen_height_twips);
    set_lever_limits(st);
    st.marked_string_phase = 5;
    st.cur_string = 27;  // no string is the selected one while the instrument is first drawn
    resim(Picture2->surface(), st);
    set_string_geometry(st);
    set_names(st);

    // 14.
    print_key_legend();

    // 15-17.
    if (const auto failure = import_tuning(st, folder / st.workbook_name)) {
        dialogs.message(import_failure_message(*failure));
        return {false, 1};
    }
    Option4.button(1)->setText(QString::fromStdString(st.option4_captions[0]));
    Option4.button(2)->setText(QString::fromStdString(st.option4_captions[1]));

    // 18.
    for (int s = 1; s <= kStringCount; ++s) {
        st.mandal_pos[s] = 0;
        st.transposed_pos[s] = 0;
        st.akord_offset[s] = 0;
    }

    // 19.
    const int listed = File1->ListCount();
    if (listed != kExpectedSampleFiles) {
        dialogs.message(
            "ses dosyaları sayısı uygun değil, program düzgün çalışmayabilir\r\n"
            "kapatıp  dosya sayınızı kontrol edin    " +
            std::to_string(listed));
    }

    // 20. The name table has room for 57 names; samples beyond them are never played, so
    //     they are left out rather than written past the table's end.
    st.wav_file_count = std::min(listed, kWavFileSlots);
    for (int i = 0; i < st.wav_file_count; ++i) st.wav_files[i] = File1->List(i);
    // Silent until the output, opened in the background, is ready.
    sound = std::make_unique<SoundModule>(st, folder, std::make_unique<NullOutput>());
    sound_control = std::make_unique<SoundControl>(*this, *sound, context.sound, std::cerr);
    sound->on_warning([this](const std::string& text) { dialogs.notice(text); });
    if (context.sound.open) sound_control->open_output();

    // 21-26.
    timer = std::make_unique<xTimer>();
    st.recording = false;
    st.seq_playing = false;
    st.rec_first_event = false;
    st.ahenk_index = 5;
    st.show_details = false;
    st.ahenk_shift = 0;
    stop_buton->setEnabled(false);
    pause_buton->setEnabled(false);
    st.speed = static_cast<std::int16_t>(VScroll1->Value());
    st.manual_levers = true;
    st.cur_string = 12;
    st.last_string = 1;

    connect_playing(context.decimal_separator);
    connect_midi(context.midi);
    connect_presets(folder);
    connect_scala_export();
    connect_wav_export();
    connect_interchange_exports();
    connect_recording();
    connect_sequences();

    // 27.
    if (context.unload_splash) context.unload_splash();
    loaded_ = true;
    return {true, 0};
}

void arayüz::print_key_legend() {
    Surface& p = Picture10->surface();
    p.CurrentY = 2;
    for (int n = 1; n <= kStringCount; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, "%02d", n);
        p.CurrentX = 1;
        p.ForeColor = qRgb(0, 0, 255);
        p.Print(QString::fromLatin1(number), false);
        p.CurrentX = 20;
        p.ForeColor = qRgb(255, 0, 0);
        p.Print(QString::fromStdString(st.note_names[n]), false);
        p.CurrentX = 36;
        p.ForeColor = qRgb(0, 255, 0);
        p.FontBold = true;
        p.Print(QString::fromStdString(st.key_names[n]), false);
        p.FontBold = false;
        p.CurrentY = p.CurrentY + 15;
    }
    p.Refresh();
}

}  // namespace orvena

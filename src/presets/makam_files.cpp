#include "presets/makam_files.h"

#include "files/safe_output.h"
#include "files/shown_text.h"
#include "presets/makam_format.h"
#include "presets/makam_name.h"
#include "presets/pitch_levels.h"

namespace orvena {

namespace {

constexpr const char* kExtension = ".mkm";

// Writes bytes to file through a temporary file that replaces it only once complete; a FIFO
// or a device that has taken a makam file's name is left alone.
std::optional<std::string> write_whole(const std::filesystem::path& file,
                                       const std::string& bytes) {
    return save_file(file, bytes, {{}, {}, false});
}

}  // namespace

void save_buton_Click(MakamContext& ctx) {
    Dialogs& dialogs = ctx.presets.dialogs;
    const std::string name = ctx.controls.Text1_Text();
    if (name.empty()) {
        dialogs.message(kMakamNameMissing);
        return;
    }
    if (const auto problem = makam_name_problem(name)) {
        dialogs.message(in_quotes(name) + " makam ismi olarak kullanılamaz:\r\n" + *problem);
        return;
    }
    const auto failure = write_whole(ctx.folder / (name + kExtension),
                                     makam_text(ctx.presets.st.settings.mandal_pos));
    if (failure) {
        dialogs.message(in_quotes(name + kExtension) + " makam dosyası yazılamadı:\r\n" + *failure);
        return;
    }
    ctx.controls.File2_Refresh();
}

void open_buton_Click(MakamContext& ctx) {
    ctx.controls.File2_setVisible(true);
}

void File2_Click(MakamContext& ctx) {
    PresetContext& p = ctx.presets;
    InstrumentState& st = p.st;
    ctx.controls.File2_setVisible(false);
    if (p.ahenk.Option5_selected() == 2) p.ahenk.Option5_select(1);
    if (p.ahenk.Option1_selected() != kSupurde) p.ahenk.Option1_select(kSupurde);

    const std::string file_name = ctx.controls.File2_FileName();
    ctx.controls.Text1_setText(file_name.size() >= 4 ? file_name.substr(0, file_name.size() - 4)
                                                     : std::string());
    const MakamReading reading = read_makam_file(ctx.folder / file_name, st);
    for (std::size_t i = 0; i < reading.positions.size(); ++i) {
        const int s = static_cast<int>(i) + 1;
        st.settings.mandal_pos[s] = reading.positions[i];
        p.views.arıza_yaz(s);
        if (st.selection.cur_string == s) {
            p.views.show_selected_string();
        }
    }
    if (reading.error) p.dialogs.message(kMakamFileFault);
}

}  // namespace orvena

#include "presets/scala_menu.h"

#include "files/shown_text.h"
#include "presets/makam_name.h"
#include "presets/scala_export.h"

namespace orvena {

std::string scala_setting_name(const std::string& makam_name) {
    const bool plain = !makam_name.empty() && !makam_name_problem(makam_name);
    return plain ? makam_name : "mandallar";
}

std::string scala_export_done_notice(const std::filesystem::path& folder,
                                     const std::string& setting_name) {
    std::string text = "Scala dosyaları yazıldı:";
    for (const std::string& file :
         {std::string("dizek.scl"), setting_name + ".scl", setting_name + ".kbm"}) {
        text += "\r\n" + shown(folder / file);
    }
    return text;
}

void scala_export_Click(const InstrumentState& st, Dialogs& dialogs, const std::string& makam_name,
                        const std::function<std::optional<std::filesystem::path>()>& choose_folder,
                        const std::filesystem::path& program_folder,
                        const std::vector<std::filesystem::path>& tuning_files) {
    const auto folder = choose_folder();
    if (!folder) return;
    const std::string name = scala_setting_name(makam_name);
    if (const auto problem = write_scala_files(*folder, name, st, st.settings.mandal_pos,
                                               program_folder, false, tuning_files)) {
        dialogs.message(std::string(kScalaWriteFailed) + "\r\n" + *problem);
        return;
    }
    dialogs.notice(scala_export_done_notice(*folder, name));
}

}  // namespace orvena

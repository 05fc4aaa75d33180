#include "presets/scala_menu.h"

#include "presets/scala_export.h"

namespace orvena {

std::string scala_setting_name(const std::string& makam_name) {
    const bool plain = !makam_name.empty() && makam_name != "." && makam_name != ".." &&
                       makam_name.find_first_of("/\\") == std::string::npos &&
                       makam_name.find('\0') == std::string::npos;
    return plain ? makam_name : "mandallar";
}

std::string scala_export_done_notice(const std::filesystem::path& folder,
                                     const std::string& setting_name) {
    std::string text = "Scala dosyaları yazıldı:";
    for (const std::string& file :
         {std::string("dizek.scl"), setting_name + ".scl", setting_name + ".kbm"}) {
        text += "\r\n" + (folder / file).string();
    }
    return text;
}

void scala_export_Click(
    const InstrumentState& st, Dialogs& dialogs, const std::string& makam_name,
    const std::function<std::optional<std::filesystem::path>()>& choose_folder) {
    const auto folder = choose_folder();
    if (!folder) return;
    const std::string name = scala_setting_name(makam_name);
    if (const auto problem = write_scala_files(*folder, name, st, st.mandal_pos)) {
        dialogs.message(std::string(kScalaWriteFailed) + "\r\n" + *problem);
        return;
    }
    dialogs.notice(scala_export_done_notice(*folder, name));
}

}  // namespace orvena

#include "presets/scala_menu.h"

#include "presets/makam_name.h"
#include "presets/scala_export.h"

namespace orvena {

std::string scala_setting_name(const std::string& makam_name) {
    const bool plain = !makam_name.empty() && !makam_name_problem(makam_name);
    return plain ? makam_name : "mandallar";
}

void scala_export_Click(const InstrumentState& st, Dialogs& dialogs, const std::string& makam_name,
                        const std::function<std::optional<std::filesystem::path>()>& choose_folder,
                        const std::filesystem::path& program_folder) {
    const auto folder = choose_folder();
    if (!folder) return;
    if (const auto problem = write_scala_files(*folder, scala_setting_name(makam_name), st,
                                               st.mandal_pos, program_folder))
        dialogs.message(std::string(kScalaWriteFailed) + "\r\n" + *problem);
}

}  // namespace orvena

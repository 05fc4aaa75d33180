#include "presets/tuning_start.h"

#include <string>

#include "presets/tuning_settings.h"
#include "tuning/tuning_file.h"

namespace orvena {

void start_tuning(TuningChoice& tuning, Dialogs& dialogs,
                  const std::filesystem::path& settings_file,
                  const std::optional<std::filesystem::path>& for_this_run) {
    const TuningSettings saved =
        settings_file.empty() ? TuningSettings{} : read_tuning_settings(settings_file);
    if (for_this_run) {
        // Ctrl+T then goes to the system this run replaces.
        tuning.start_in(tuning.key_of(*for_this_run), true);
        tuning.remember_previous(saved.system.empty() ? kWorkbookSystem : saved.system);
        return;
    }
    if (!saved.system.empty() && saved.system != kWorkbookSystem &&
        !tuning.start_in(saved.system, false))
        dialogs.notice(std::string(kSavedTuningLost) + tuning.failure());
    tuning.remember_previous(saved.previous);
}

void keep_tuning_choice(const TuningChoice& tuning, const std::filesystem::path& settings_file) {
    if (!settings_file.empty())
        write_tuning_settings(settings_file, {tuning.current_key(), tuning.previous_key()});
}

std::vector<std::filesystem::path> playing_tuning_files(const TuningChoice& tuning) {
    const std::string& system = tuning.current_key();
    if (system == kWorkbookSystem) return {};
    return tuning_source_files(tuning.file_of(system));
}

}  // namespace orvena

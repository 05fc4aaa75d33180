#include "sound/sound_settings_lists.h"

#include <algorithm>

#include "sound/sound_settings.h"

namespace orvena {

std::vector<ListEntry> system_entries(const std::vector<AudioSystemInfo>& systems) {
    std::vector<ListEntry> entries{{kAutomaticEntry, "auto"}};
    for (const AudioSystemInfo& s : systems) {
        const std::string name(api_name(s.api));
        entries.push_back({s.available ? name : name + kMissingSystemMark, name});
    }
    entries.push_back({kSilentEntry, "none"});
    return entries;
}

std::vector<ListEntry> device_entries(const std::vector<AudioSystemInfo>& systems,
                                      std::string_view system) {
    std::vector<ListEntry> entries{{kDefaultDeviceEntry, ""}};
    for (const AudioSystemInfo& s : systems) {
        if (system != "auto" && system != api_name(s.api)) continue;
        for (const AudioDevice& d : s.devices) {
            const auto listed = [&](const ListEntry& e) { return e.value == d.id; };
            if (std::any_of(entries.begin(), entries.end(), listed)) continue;
            entries.push_back({d.name == d.id ? d.name : d.name + " (" + d.id + ")", d.id});
        }
    }
    return entries;
}

unsigned block_shown(const AudioChoice& choice) {
    return choice.block_chosen ? choice.block_frames : 0u;
}

AudioChoice choice_of_selection(std::string_view system, const std::string& device,
                                unsigned frames) {
    AudioChoice choice;
    set_api_by_name(choice, system);
    choice.device = device;
    choice.block_chosen = frames != 0;
    choice.block_frames = frames != 0 ? frames : kDefaultBlockFrames;
    return choice;
}

}  // namespace orvena

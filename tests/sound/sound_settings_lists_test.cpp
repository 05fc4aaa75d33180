// What "Ses ayarları" lists for the systems a machine offers, and the choice a selection makes.

#include <gtest/gtest.h>

#include <tuple>

#include "sound/sound_settings.h"
#include "sound/sound_settings_lists.h"

namespace orvena {
namespace {

std::vector<AudioSystemInfo> machine() {
    return {{AudioApi::jack, false, "no JACK server running", {}},
            {AudioApi::pulse, true, "", {{"cap", "Built-in Audio"}, {"hdmi", "hdmi"}}},
            {AudioApi::alsa, true, "", {{"default", "default"}, {"hw:0,0", "HDA"}, {"cap", "x"}}}};
}

TEST(SoundSettingsLists, SystemsAreListedWithTheMissingOnesMarked) {
    EXPECT_EQ(system_entries(machine()), (std::vector<ListEntry>{{"otomatik", "auto"},
                                                                 {"jack (yok)", "jack"},
                                                                 {"pulse", "pulse"},
                                                                 {"alsa", "alsa"},
                                                                 {"sessiz", "none"}}));
    EXPECT_EQ(system_entries({}),
              (std::vector<ListEntry>{{"otomatik", "auto"}, {"sessiz", "none"}}));
}

// "auto" lists every system's devices, an id once; a system its own; the others none.
TEST(SoundSettingsLists, DevicesAreThoseOfTheSystemChosenAfterTheDefault) {
    const ListEntry none{"varsayılan", ""};
    const std::pair<const char*, std::vector<ListEntry>> cases[] = {
        {"auto",
         {none,
          {"Built-in Audio (cap)", "cap"},
          {"hdmi", "hdmi"},
          {"default", "default"},
          {"HDA (hw:0,0)", "hw:0,0"}}},
        {"alsa", {none, {"default", "default"}, {"HDA (hw:0,0)", "hw:0,0"}, {"x (cap)", "cap"}}},
        {"jack", {none}},
        {"none", {none}},
        {"oss", {none}}};
    for (const auto& [system, expected] : cases) {
        SCOPED_TRACE(system);
        EXPECT_EQ(device_entries(machine(), system), expected);
    }
}

TEST(SoundSettingsLists, ASelectionMakesTheChoiceAndTheChoiceShowsItsBlock) {
    // The system, device and block (0 otomatik) selected; the choice made.
    const std::tuple<const char*, std::string, unsigned, std::string, unsigned, bool> cases[] = {
        {"alsa", "hw:0,0", 256, "alsa", 256, true},
        {"auto", "", 0, "auto", 128, false},
        {"none", "", 64, "none", 64, true}};
    for (const auto& [system, device, frames, api, block, chosen] : cases) {
        const AudioChoice choice = choice_of_selection(system, device, frames);
        EXPECT_EQ(std::tuple(api_setting_name(choice), choice.device, choice.block_frames,
                             choice.block_chosen, block_shown(choice)),
                  std::tuple(api, device, block, chosen, frames))
            << system;
    }
}

}  // namespace
}  // namespace orvena

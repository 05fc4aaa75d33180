#pragma once
// What "Ses ayarları" offers, in the player's words: the sound systems found, the devices of
// the system chosen and the block sizes, and the choice a selection of the three makes. The
// dialog only shows these lists. Event thread only.

#include <string>
#include <string_view>
#include <vector>

#include "sound/audio_host.h"

namespace orvena {

inline constexpr const char* kAutomaticEntry = "otomatik";
inline constexpr const char* kSilentEntry = "sessiz";
inline constexpr const char* kMissingSystemMark = " (yok)";
inline constexpr const char* kDefaultDeviceEntry = "varsayılan";

// The block sizes (frames) offered beside "otomatik".
inline constexpr unsigned kBlockChoices[] = {64, 128, 256, 512, 1024};

struct ListEntry {
    std::string text;   // what the list shows
    std::string value;  // what a choice takes: a system's setting name or a device id
    bool operator==(const ListEntry&) const = default;
};

// "otomatik" (auto), each system by its name, marked " (yok)" when it is not there, and
// "sessiz" (none).
std::vector<ListEntry> system_entries(const std::vector<AudioSystemInfo>& systems);

// "varsayılan" (the system's default, an empty id), then the devices of the system named as
// the settings name it: for "auto" those of every system, each id once; "none" or a system
// not found offers the default alone. A device whose name is not its id shows both.
std::vector<ListEntry> device_entries(const std::vector<AudioSystemInfo>& systems,
                                      std::string_view system);

// The block size the list shows for a choice: 0 ("otomatik") unless the player chose one.
unsigned block_shown(const AudioChoice& choice);

// The choice a selection makes: a system's setting name, a device id (empty: the default) and
// a block size (0: automatic).
AudioChoice choice_of_selection(std::string_view system, const std::string& device,
                                unsigned frames);

}  // namespace orvena

#pragma once
// The sound settings file: orvena.ini in the program folder (INI, group [sound]). A missing
// file gives the defaults; a broken file or value gives the default for what is broken and a
// message on the log, never a failed start. Written atomically (a whole new file replaces
// the old). Event thread only.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "sound/audio_host.h"

namespace orvena {

inline constexpr const char* kSettingsFileName = "orvena.ini";

AudioChoice read_sound_settings(const std::filesystem::path& file, std::ostream& log);

// False when the settings file is there but is no regular file of a sane size (a FIFO would
// hold the start-up, a device would never end); it is then not read.
bool settings_file_readable(const std::filesystem::path& file);
// False when the file could not be written; the old file is then left as it was.
bool write_sound_settings(const std::filesystem::path& file, const AudioChoice& choice);

// "auto", "none" or a system name into the choice; false for anything else.
bool set_api_by_name(AudioChoice& choice, std::string_view name);
std::string api_setting_name(const AudioChoice& choice);
// A block size the outputs accept, or nothing.
std::optional<unsigned> block_frames_from_text(std::string_view text);

}  // namespace orvena

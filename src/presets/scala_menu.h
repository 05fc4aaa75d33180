#pragma once
// The window's "Scala dosyaları yaz" entry: the Scala files of the tuning and of the lever
// setting in force, written to a folder the user picks.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "surface/dialogs.h"
#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr const char* kScalaMenuText = "Scala dosyaları yaz...";
inline constexpr const char* kScalaFolderTitle = "Scala dosyalarının yazılacağı klasörü seçin";
inline constexpr const char* kScalaWriteFailed = "Scala dosyaları yazılamadı";

// The setting's files are named after the makam name box, or "mandallar" when it is empty or
// not a name a makam file could have. Nothing is written when the user picks no folder, and
// no file of program_folder's own, nor one of `tuning_files` (what the tuning in force was read
// from); written files are named in a notice that leaves the window free.
void scala_export_Click(const InstrumentState& st, Dialogs& dialogs, const std::string& makam_name,
                        const std::function<std::optional<std::filesystem::path>()>& choose_folder,
                        const std::filesystem::path& program_folder,
                        const std::vector<std::filesystem::path>& tuning_files = {});

// The name the setting's files take for a makam name box's text.
std::string scala_setting_name(const std::string& makam_name);

// What the player is told once the files are written: where each of them went.
std::string scala_export_done_notice(const std::filesystem::path& folder,
                                     const std::string& setting_name);

}  // namespace orvena

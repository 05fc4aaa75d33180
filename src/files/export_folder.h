#pragma once
// Where an export's file dialog first opens: an export is the user's file, never one among
// the program's own.

#include <filesystem>

namespace orvena {

// `music` when it names a folder (the desktop may name none, or one never made), else `home`.
std::filesystem::path music_or_home_folder(const std::filesystem::path& music,
                                           const std::filesystem::path& home);

}  // namespace orvena

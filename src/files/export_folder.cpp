#include "files/export_folder.h"

namespace orvena {

std::filesystem::path music_or_home_folder(const std::filesystem::path& music,
                                           const std::filesystem::path& home) {
    std::error_code ec;
    return !music.empty() && std::filesystem::is_directory(music, ec) ? music : home;
}

}  // namespace orvena

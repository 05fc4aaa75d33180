#include "presets/makam_name.h"

namespace orvena {

std::optional<std::string> makam_name_problem(const std::string& name) {
    for (const char c : name) {
        // A separator would put the file in another folder; '\' is one on other systems.
        if (c == '/' || c == '\\') return "isimde / veya \\ işareti olamaz.";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "isimde denetim karakteri olamaz.";
        }
    }
    // A name starting with a dot makes a hidden file, which the list of makam files never shows.
    if (name.starts_with('.')) return "isim nokta ile başlayamaz.";
    if (name.size() + 4 > kMaxFileNameBytes) {
        return "isim çok uzun: en çok " + std::to_string(kMaxFileNameBytes - 4) + " bayt olabilir.";
    }
    return std::nullopt;
}

}  // namespace orvena

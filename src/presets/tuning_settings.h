#pragma once
// The tuning systems chosen last, kept in orvena.ini (group [tuning]: system, the one in
// force; previous, the one before it for Ctrl+T), as the tuning choice names them. Written
// atomically beside the other settings, which are kept. Event thread only.

#include <filesystem>
#include <string>

namespace orvena {

struct TuningSettings {
    std::string system;    // empty: the program's workbook
    std::string previous;  // empty: none
};

TuningSettings read_tuning_settings(const std::filesystem::path& file);
// False when the file could not be written; the old file is then left as it was.
bool write_tuning_settings(const std::filesystem::path& file, const TuningSettings& settings);

}  // namespace orvena

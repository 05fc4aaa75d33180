#pragma once
// The command lines `orvena --export-midi FILE OUT.mid [--midi-tuning mts|bend]` and
// `orvena --export-musicxml FILE.ses OUT.musicxml`: the MIDI or MusicXML export without a
// window, on the instrument as it starts (as `--render` plays it: the program folder's
// workbook, or the tuning system --tuning names, and its samples, every lever at 0, no pitch
// level, speed 40, "şartlı").

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orvena {

// Whether the arguments (after the program name) ask for one of the two exports.
bool is_export_command(const std::vector<std::string>& args);

// Nothing when `args` ask for neither export; otherwise the exit status: 0 when the file was
// written, 2 for arguments it cannot use, 1 for any other failure, after a message on `err`.
std::optional<int> run_export_command(const std::vector<std::string>& args,
                                      const std::filesystem::path& program_folder,
                                      std::ostream& out, std::ostream& err,
                                      const std::optional<std::filesystem::path>& tuning = {});

}  // namespace orvena

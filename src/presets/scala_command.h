#pragma once
// The command line `orvena --export-scala DIR [--makam NAME]`: writes the Scala files of the
// program folder's workbook (or of the tuning system --tuning names) and of a lever setting (all
// levers at 0, or the makam file NAME.mkm of the program folder) into DIR, without opening a
// window.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orvena {

// Whether the arguments ask for the export (--export-scala, or --makam that goes with it).
bool is_scala_command(const std::vector<std::string>& args);

// Nothing when `args` (the arguments after the program name) do not ask for the export;
// otherwise the exit status: 0 when the files were written, else non-zero after a message on
// `err`.
// `tuning`: the tuning system to export instead of the workbook's (--tuning).
std::optional<int> run_scala_command(const std::vector<std::string>& args,
                                     const std::filesystem::path& program_folder, std::ostream& out,
                                     std::ostream& err,
                                     const std::optional<std::filesystem::path>& tuning = {});

}  // namespace orvena

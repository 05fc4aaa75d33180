#pragma once
// The command line `orvena --render FILE OUT.wav`: renders a sequence file (.ses) or a
// recording (kayıt.txt) into a WAV file without opening a window, on the instrument as it
// starts: the program folder's workbook and samples, every lever at 0, no pitch level, the
// speed bar and the sequence player's "arızalar" ("şartlı") where they start.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orvena {

struct InstrumentState;

// Sets st up as the window starts the instrument from `folder`, in the tuning system of
// `tuning` when given; the reason it cannot (the workbook or the tuning file does not
// load), or nothing.
std::optional<std::string> start_render_instrument(
    InstrumentState& st, const std::filesystem::path& folder,
    const std::optional<std::filesystem::path>& tuning = {});

// Whether the arguments (after the program name) ask for a render.
bool is_render_command(const std::vector<std::string>& args);

// Nothing when `args` do not ask for a render; otherwise the exit status: 0 when the file was
// written, 2 for arguments it cannot use, 1 for any other failure, after a message on `err`.
std::optional<int> run_render_command(const std::vector<std::string>& args,
                                      const std::filesystem::path& program_folder,
                                      std::ostream& out, std::ostream& err,
                                      const std::optional<std::filesystem::path>& tuning = {});

}  // namespace orvena

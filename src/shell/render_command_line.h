#pragma once
// The WAV render run from the command line without opening a window. main() asks here
// before the window's own options are parsed.

#include <optional>

namespace orvena {

// The exit status of a render the arguments ask for, or nothing when they ask for none.
std::optional<int> run_render_command_line(int argc, char** argv);

}  // namespace orvena

#pragma once
// The Scala export run from the command line without opening a window. main() asks here
// before the window's own options are parsed.

#include <optional>

namespace orvena {

// The exit status of a command the arguments name, or nothing when they name none.
std::optional<int> run_scala_command_line(int argc, char** argv);

}  // namespace orvena

#pragma once
// Commands that run without opening a window (the Scala export). main() asks here first.

#include <optional>

namespace orvena {

// The exit status of a command the arguments name, or nothing when they name none.
std::optional<int> run_command_line(int argc, char** argv);

}  // namespace orvena

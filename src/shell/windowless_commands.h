#pragma once
// The commands that run without opening a window (the Scala export, the WAV render and the
// MIDI and MusicXML exports).
// main() asks here before the window's own options are parsed.

#include <optional>

namespace orvena {

// The exit status of a windowless command the arguments name, or nothing when they name none.
std::optional<int> run_windowless_command(int argc, char** argv);

}  // namespace orvena

#pragma once
// The commands that run without opening a window (the Scala export, the WAV render and the
// MIDI and MusicXML exports).
// main() asks here before the window's own options are parsed.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvena {

// The exit status of a windowless command the arguments name, or nothing when they name none.
std::optional<int> run_windowless_command(int argc, char** argv);

// Takes every "--tuning FILE" and "--tuning=FILE" out of the arguments: the last FILE (as the
// window's options count the last one) made absolute from the folder the program was started
// in, or nothing.
std::optional<std::filesystem::path> take_tuning_option(std::vector<std::string>& args);

}  // namespace orvena

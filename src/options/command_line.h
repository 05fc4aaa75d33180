#pragma once
// The program's command line: --help, --version and the player's options. Anything the
// parser does not know ends the program with status 2 and says why. Event thread only.
//
// To add an option: a field in CommandLine and one entry in the table of command_line.cpp.

#include <QStringList>

#include <iosfwd>
#include <optional>
#include <string>

#include "sound/audio_host.h"

namespace orvena {

inline constexpr int kCommandLineError = 2;

struct CommandLine {
    // Set when the program ends at once: 0 after --help or --version, 2 after a bad option.
    std::optional<int> exit_status;
    // Sound choices; each given one overrides the settings file for this run.
    std::optional<std::string> audio_api;  // "auto", "none" or a system name
    std::optional<std::string> audio_device;
    std::optional<unsigned> buffer_frames;
    // The tuning system for this run: a Scala scale or a workbook.
    std::optional<std::string> tuning;
};

// arguments: as QCoreApplication::arguments() gives them, the program's name first. Help and
// version go to out, errors to err.
CommandLine parse_command_line(const QStringList& arguments, std::ostream& out, std::ostream& err);

// The choice of the settings file with the command line's overrides on top.
AudioChoice apply_command_line(AudioChoice choice, const CommandLine& line);

}  // namespace orvena

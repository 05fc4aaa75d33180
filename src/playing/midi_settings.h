#pragma once
// The MIDI port chosen in "Ses ayarları", kept in orvena.ini (group [midi], key port; empty
// or missing: no MIDI input). Written atomically beside the sound settings, which are kept.
// Event thread only.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvena {

// The saved port name; a value that cannot be a port name gives none and a message on the log.
std::string read_midi_port(const std::filesystem::path& file, std::ostream& log);
// False when the file could not be written; the old file is then left as it was.
bool write_midi_port(const std::filesystem::path& file, const std::string& port);

// The port of `found` that is the saved one: the same name, or else the same name with other
// client numbers (ALSA numbers a device again when it is plugged in again).
std::optional<std::string> find_midi_port(const std::vector<std::string>& found,
                                          const std::string& saved);

}  // namespace orvena

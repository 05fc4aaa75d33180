#pragma once
// Scala tuning files of what the instrument sounds, for synths that read .scl/.kbm:
// - the workbook's tuning system: its degrees within the octave above C4;
// - a lever setting: the 26 strings as one 26-note scale (string 26 first, each pitch with
//   the string's fine tuning) and a keyboard mapping that puts string 26 on MIDI key 45
//   (A2, key 60 = C4) and each higher string on the next key, up to string 1 on key 70. Key 45
//   is the reference key, tuned to the frequency string 26 sounds (C4 = 262 Hz).
// Cents are written with six decimals; whole octaves (within 0.001 cent) as ratios.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tuning/instrument_state.h"

namespace orvena {

inline constexpr int kScalaFirstKey = 45;  // the key of string 26

// The .scl text of the tuning system: every distinct degree pitch above C4 (0 cents) up to
// and including C5.
std::string tuning_scl(const TuningTables& tables);

// The .scl and .kbm texts of the setting `positions` (elements 1..26) saved as <name>.scl.
std::string setting_scl(const InstrumentState& st, const PerString<std::int16_t>& positions,
                        const std::string& name);
std::string setting_kbm(const InstrumentState& st, const PerString<std::int16_t>& positions);

// Cents above C4 that string s sounds at lever position p, with its fine tuning.
double sounding_cents(const InstrumentState& st, int s, int p);

// Writes <folder>/dizek.scl, <folder>/<name>.scl and <folder>/<name>.kbm, all three or none:
// each is saved whole, and when one cannot be written the others are left as they were. A
// missing folder is made (and taken away again when the files cannot be written); a file in
// its place is refused, and so is any file the program owns in program_folder. A device or
// FIFO of a file's name is written in place when devices_allowed (the command line), else
// refused (the window, which it would hold). None of `inputs` (the files the tuning in force was
// read from) is written over. Returns what went wrong, as a Turkish sentence, or nothing on
// success.
std::optional<std::string> write_scala_files(const std::filesystem::path& folder,
                                             const std::string& name, const InstrumentState& st,
                                             const PerString<std::int16_t>& positions,
                                             const std::filesystem::path& program_folder,
                                             bool devices_allowed = true,
                                             const std::vector<std::filesystem::path>& inputs = {});

}  // namespace orvena

#pragma once
// Makam files: the lever positions of the 26 strings, one per line in the number print form
// (" 0 ", "-3 ") with CR LF. Reading accepts what a hand edit leaves: numbers separated by
// spaces, commas or line ends, anything after the 26th number ignored. Reading is built in
// layers: text first (tested from strings), then a file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tuning/instrument_state.h"

namespace orvena {

// Why a makam file could not be read in full, and where.
struct MakamError {
    int string = 0;  // the string whose number was being read (1..26); 0 for the file itself
    int line = 0;    // 1-based line of the text; 0 when the file could not be opened
    std::string reason;
};

// The positions read, in string order, up to the error if there is one.
struct MakamReading {
    std::vector<std::int16_t> positions;
    std::optional<MakamError> error;
};

// The 26 lines a makam file holds for these positions.
std::string makam_text(const PerString<std::int16_t>& mandal_pos);

// Reads the positions of strings 1..26 from text. A position must be a whole number within
// its string's lever limits (mandal_min..mandal_max of the instrument as built); the first number
// that is not, or a missing number, ends the reading with an error.
MakamReading read_makam_text(std::string text, const InstrumentBuild& build);
MakamReading read_makam_file(const std::filesystem::path& file, const InstrumentState& st);

}  // namespace orvena

#pragma once
// The instrument as built: string names and key letters, lever limits, where each string
// lies, the workbook's name and button captions and the sample files found in the program
// folder. Filled once at start-up by tuning/'s start-up steps (set_lever_limits,
// set_string_geometry, set_names, take_sample_names, the workbook import) as shell/ or a
// command-line renderer calls them; only read after that.

#include <array>
#include <cstdint>
#include <string>

#include "tuning/string_tables.h"

namespace orvena {

struct InstrumentBuild {
    std::string workbook_name = "dizek.xls";
    PerString<std::string> note_names;  // "--", "E6" .. "A2"; also the held-note alias
    PerString<std::string> key_names;   // "--", " Q" .. " M" (leading space is printed)
    PerString<std::int16_t> mandal_min;
    PerString<std::int16_t> mandal_max;
    PerString<std::int16_t> string_x;             // x where each string starts, pixels
    std::array<std::string, 2> option4_captions;  // captions of the two "oktav" buttons

    // Sample file names in list order; element s is the sample of string s.
    IndexedArray<std::string, 0, kWavFileSlots - 1> wav_files;
    int wav_file_count = 0;
};

}  // namespace orvena

#pragma once
// The values the instrument starts with once the workbook is read: every lever and fine
// tuning at 0, the sample names of the program folder, nothing recording or playing, the
// SÜPÜRDE pitch level, the levers free and string 12 selected. Event thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tuning/instrument_state.h"

namespace orvena {

// One sample per string and the reference sample; another count is worth a warning.
inline constexpr int kExpectedSampleFiles = 27;

// What the player is told when the program folder holds another count of samples than
// kExpectedSampleFiles (the program goes on with them), or nothing.
std::optional<std::string> sample_count_warning(int listed);

// Every string's lever, transposed lever and fine tuning (cents) back to 0.
void clear_levers(InstrumentSettings& settings);
// The sample file names in list order. The table has room for kWavFileSlots names; samples
// beyond them are never played, so they are left out rather than written past its end.
void take_sample_names(InstrumentBuild& build, const std::vector<std::string>& names);
// The selection and modes of a new start; `speed` is the replay speed control's value.
void set_start_values(InstrumentState& st, std::int16_t speed);

}  // namespace orvena

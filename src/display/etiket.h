#pragma once
// The note information panel: lever position, string, pitch name, cents above C4, ratio to
// C4, frequency (as the string sounds, fine tuning included) and fine-tuning difference of the
// selected string. Event thread only.

#include <string>

#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// Shown in place of a pitch name when the degree to name is not in the degree list.
inline constexpr const char* kNoPitchName = "----------";

// The pitch name line 3 of the panel shows for the selected string at its lever position,
// as stored in the degree list (30 characters), or kNoPitchName. cur_string must be 1..26.
// The panel prints NUL characters of an unfilled record as spaces.
std::string panel_pitch_name(const InstrumentState& st);

// Clears Picture6 and prints the seven panel lines for st.selection.cur_string, then refreshes it.
// With no string selected (cur_string 0) the panel keeps what it shows. decimal_separator
// is the user's locale separator for the formatted numbers.
void etiket(Surface& Picture6, const InstrumentState& st, char decimal_separator);

}  // namespace orvena

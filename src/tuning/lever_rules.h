#pragma once
// Rules every lever change follows, and the fitting of a computed lever position onto the
// fewer levers of the seven highest strings. No Qt; any thread that owns the state.

#include <cstdint>

#include "tuning/instrument_state.h"

namespace orvena {

// The position that a computed position -8..12 becomes on string s (1..7); other strings
// and positions outside -8..12 keep the position.
std::int16_t lever_fit(int s, int position);

// Fits transposed_pos(s) in place (strings 1..7 only).
void yenimandal(InstrumentState& st, int s);

// String 26 stores positions 9..11 but neither sounds nor shows them.
bool is_silent_position(int s, int position);

}  // namespace orvena

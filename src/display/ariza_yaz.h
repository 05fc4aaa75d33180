#pragma once
// Lever numbers: the lever position of each string in the legend's lever column, and
// optionally all 26 of them along the slanted edge of the instrument drawing. Event thread
// only.

#include "display/key_legend.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// Rewrites the lever cell of string n (1..26) on Picture10 from st.settings.mandal_pos(n): blank
// for position 0, else the bold number. When check1_checked, also rewrites the diagonal numbers on
// Picture2.
void arıza_yaz(Surface& Picture10, Surface& Picture2, const InstrumentState& st, int n,
               bool check1_checked);

}  // namespace orvena

#pragma once
// Lever numbers: the lever position of each string in the legend's lever column, and
// optionally all 26 of them along the slanted edge of the instrument drawing. Event thread
// only.

#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// Row of string n (1..26) in the legend: the cell spans y .. y + 16.
constexpr int legend_row_y(int n) {
    return 15 * (n - 1) + 2;
}

// Rewrites the lever cell of string n (1..26) on Picture10 from st.mandal_pos(n): blank for
// position 0, else the bold number. When check1_checked, also rewrites the diagonal numbers
// on Picture2.
void arıza_yaz(Surface& Picture10, Surface& Picture2, const InstrumentState& st, int n,
               bool check1_checked);

}  // namespace orvena

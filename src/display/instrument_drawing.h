#pragma once
// The plan view of the zither on Picture2 (904 × 420, white): the body with its coloured
// bands, the rows of marks, the sound board with four framed panels, the bridge, three pin
// circles per string and the 26 strings.

#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// Reference point of string n (1..26): where the first of its three lines starts. Rows step
// 19 px left and 15 px down per string, along the slanted side of the body.
constexpr int string_ref_x(int n) {
    return 530 - 19 * (n - 1);
}
constexpr int string_ref_y(int n) {
    return 26 + 15 * (n - 1);
}

// Draws the whole instrument once (start-up), ending with tel_çiz. Leaves DrawWidth 1,
// FillStyle transparent and the ForeColor of string 26.
void resim(Surface& Picture2, const InstrumentState& st);

// Redraws the 26 strings: black for cur_string, red for the A strings (5, 12, 19 and 26),
// white for the others; then refreshes the view.
void tel_çiz(Surface& Picture2, const Selection& selection);

}  // namespace orvena

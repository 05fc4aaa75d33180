#pragma once
// The lever strip of the selected string on Picture1: a rail, the position numbers, and one
// lever per position — raised (filled box) up to the current position, tilted (outline)
// above it.

#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// Where Picture1 sits in Picture2 after a lever drawing: its left 100 pixels are hidden.
struct LeverStripPlacement {
    int left = -100;
    int width = 0;
};

inline constexpr int kLeverStripHeight = 60;
inline constexpr QRgb kLeverStripBack = qRgb(224, 224, 224);

// Width of the strip for a string whose levers run lo..hi: 16 pixels a position plus margins.
constexpr int lever_strip_width(int lo, int hi) {
    return ((lo < 0 ? -lo : lo) + hi + 3) * 16 + 148;
}

// x of the mark of position i on a string whose lowest position is lo.
constexpr int lever_mark_x(int i, int lo) {
    return 156 + 16 * (i - lo);
}

// Draws the levers of cur_string (1..26) and refreshes Picture1.
LeverStripPlacement mandal_at(Surface& Picture1, const InstrumentState& st);

}  // namespace orvena

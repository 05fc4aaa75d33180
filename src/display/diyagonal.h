#pragma once
// The lever numbers along the slanted left edge of the instrument drawing (Picture2), one
// white box per string row. Event thread only.

#include <QRect>

#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// The diagonal number box of string n (1..26), corners included.
inline QRect diagonal_box(int n) {
    const int x = 489 - 19 * (n - 1);
    const int y = 18 + 15 * (n - 1);
    return QRect(QPoint(x, y), QPoint(x + 21, y + 16));
}

// Freezes the drawing so far as Picture2's background, then rewrites all 26 boxes: white,
// with the lever position of each string that is not at 0 (olive for strings 1..7,
// red-brown for the others) in font size 12, which stays set.
void diyagonal_yaz(Surface& Picture2, const InstrumentSettings& settings);

// Blanks the 26 boxes (the diagonal display switched off); leaves ForeColor blue and
// DrawWidth 1.
void diyagonal_sil(Surface& Picture2);

}  // namespace orvena

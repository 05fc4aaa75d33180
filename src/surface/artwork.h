#pragma once
// The program's pictures, compiled in (drawn by tools/artwork, kept in resources/).

#include <QImage>

namespace orvena {

// The notation sheet, 490 × 56, black glyphs on white, copied from with an AND operation:
// staff with treble clef at (362,1) 115 × 47 (lines on rows 14, 20, 26, 32, 38), open note
// head at (479,1) 10 × 7, and the accidental signs in 19 × 24 cells at (30·c + 9, 1) for
// lever steps c − 12 and at (30·c + 9, 31) for steps c + 1, c = 0..11. A red grid runs
// between the cells.
QImage notation_sheet();

// The tuning peg, 55 × 90: the left half raises, the right half lowers; the upper half is
// the big step, the lower half the small one.
QImage tuning_peg();

// The splash window's logo, 120 × 120.
QImage splash_logo();

}  // namespace orvena

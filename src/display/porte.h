#pragma once
// The staff picture: the selected string's note on a treble staff, with the accidental sign
// of its lever step and, for a raised or lowered lever, the neighbouring note carrying the
// complementary sign. All glyphs come from the notation sheet. Event thread only.

#include <QImage>

#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

// Where the glyphs lie on the notation sheet (490 x 56) and where they go on the staff
// picture (140 x 132).
namespace staff {
inline constexpr int kStaffSheetX = 362, kStaffSheetY = 1, kStaffW = 115, kStaffH = 47;
inline constexpr int kStaffX = 5, kStaffY = 35;
inline constexpr int kHeadSheetX = 479, kHeadSheetY = 1, kHeadW = 10, kHeadH = 7;
inline constexpr int kSignW = 19, kSignH = 24;
inline constexpr int kFlatRowY = 1;    // steps -12..-1
inline constexpr int kSharpRowY = 31;  // steps +1..+12
inline constexpr int kNoteX = 56, kSignX = 36, kLedgerX = 54;
inline constexpr int kNeighbourNoteX = 106, kNeighbourSignX = 86, kNeighbourLedgerX = 104;
inline constexpr int kLedgerLength = 14;

// Left edge of sign column c (0..11) on the sheet.
constexpr int sign_sheet_x(int column) {
    return 30 * column + 9;
}
// Top of the note head of staff index i (string numbering, 0 and 27 for the neighbours
// beyond the ends) and top of the sign drawn before it.
constexpr int head_y(int index) {
    return 3 * index + 24;
}
constexpr int sign_y(int index) {
    return 3 * index + 15;
}
}  // namespace staff

// Redraws Picture3 for st.selection.cur_string (1..26; nothing is drawn for 0) from its lever
// position and lever step, copying glyphs from sheet with the AND raster operation; ends with
// Refresh.
void porte(Surface& Picture3, const QImage& sheet, const InstrumentState& st);

// Ledger lines that the note of staff index i (0..27) needs, each from x to x + 14, in the
// current ForeColor. Indices on or inside the staff, and indices outside 0..27, draw none.
void ek_çizgiler(Surface& Picture3, int index, int x);

}  // namespace orvena

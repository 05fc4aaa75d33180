#include "display/porte.h"

namespace orvena {

using namespace staff;

namespace {

constexpr int kSignColumns = 12;
// Ledger lines above the staff run down to y 42, those below it start at y 78.
constexpr int kHighestLedgerIndex = 5, kLowestInsideIndex = 16, kLastIndex = 27;
constexpr int kUpperLedgerTop = 30, kUpperLedgerBottom = 42, kLowerLedgerTop = 78;
constexpr int kLedgerGap = 6;

void copy_head(Surface& pic, const QImage& sheet, int x, int index) {
    pic.PaintPicture(sheet, x, head_y(index), kHeadW, kHeadH, kHeadSheetX, kHeadSheetY);
}

void copy_sign(Surface& pic, const QImage& sheet, int x, int index, int column, int row_y) {
    pic.PaintPicture(sheet, x, sign_y(index), kSignW, kSignH, sign_sheet_x(column), row_y);
}

}  // namespace

void ek_çizgiler(Surface& Picture3, int index, int x) {
    if (index < 0 || index > kLastIndex) return;
    if (index <= kHighestLedgerIndex) {
        // Two staff indices share each ledger line; 0 and 1 need three lines.
        for (int y = kUpperLedgerTop + kLedgerGap * (index / 2); y <= kUpperLedgerBottom;
             y += kLedgerGap) {
            Picture3.Line(x, y, x + kLedgerLength, y);
        }
    } else if (index > kLowestInsideIndex) {
        const int count = (index - kLowestInsideIndex - 1) / 2 + 1;
        for (int i = 0; i < count; ++i) {
            const int y = kLowerLedgerTop + kLedgerGap * i;
            Picture3.Line(x, y, x + kLedgerLength, y);
        }
    }
}

void porte(Surface& Picture3, const QImage& sheet, const InstrumentState& st) {
    const int s = st.selection.cur_string;
    if (s < 1 || s > kStringCount) return;
    const int p = st.settings.mandal_pos(s);
    const int k = st.tables.mandal_step(s, p);

    Picture3.ClearPicture();
    Picture3.PaintPicture(sheet, kStaffX, kStaffY, kStaffW, kStaffH, kStaffSheetX, kStaffSheetY);
    Picture3.FillStyle = 0;
    Picture3.FillColor = qRgb(255, 0, 0);
    // Ledger lines are thin black strokes whatever the picture was last used for.
    Picture3.ForeColor = qRgb(0, 0, 0);
    Picture3.DrawWidth = 1;

    copy_head(Picture3, sheet, kNoteX, s);
    if (p != 0) {
        // The sign column of the lever step; a raised lever reads the sharp row and gives the
        // upper neighbour the flat-row sign of the same column, a lowered one the reverse.
        // A step whose sign disagrees with the lever's direction has no column on the sheet:
        // the note then stands without a sign.
        const int column = p > 0 ? k - 1 : k + kSignColumns;
        if (column >= 0 && column < kSignColumns) {
            const int neighbour = p > 0 ? s - 1 : s + 1;
            const int own_row = p > 0 ? kSharpRowY : kFlatRowY;
            const int other_row = p > 0 ? kFlatRowY : kSharpRowY;
            copy_sign(Picture3, sheet, kSignX, s, column, own_row);
            copy_head(Picture3, sheet, kNeighbourNoteX, neighbour);
            copy_sign(Picture3, sheet, kNeighbourSignX, neighbour, column, other_row);
            ek_çizgiler(Picture3, s, kLedgerX);
            ek_çizgiler(Picture3, neighbour, kNeighbourLedgerX);
        }
    }
    ek_çizgiler(Picture3, s, kLedgerX);
    Picture3.Refresh();
}

}  // namespace orvena

#include "display/ariza_yaz.h"

#include "display/diyagonal.h"

namespace orvena {

namespace {
constexpr int kCellLeft = 52, kCellRight = 66, kCellHeight = 16;
constexpr int kTwoDigitX = 48, kOneDigitX = 55;
}  // namespace

void arıza_yaz(Surface& Picture10, Surface& Picture2, const InstrumentState& st, int n,
               bool check1_checked) {
    const int y = legend_row_y(n);
    Picture10.LineBF(kCellLeft, y, kCellRight, y + kCellHeight, qRgb(255, 255, 255));
    const int pos = st.mandal_pos(n);
    if (pos == 0) {
        // A lever back at 0 must also lose its number along the edge, or the edge would go
        // on showing a position the string no longer has.
        if (check1_checked) diyagonal_yaz(Picture2, st);
        return;
    }

    Picture10.CurrentY = y;
    Picture10.CurrentX = pos >= 10 ? kTwoDigitX : kOneDigitX;
    Picture10.ForeColor = qRgb(0, 0, 0);
    Picture10.FontBold = true;
    // A wide number (a minus sign, two digits) would reach past the cell, where the next
    // erase cannot take it away again.
    Picture10.SetClip(QRect(QPoint(kCellLeft, y), QPoint(kCellRight, y + kCellHeight)));
    Picture10.PrintNumber(pos, true);
    Picture10.ClearClip();
    Picture10.FontBold = false;

    if (check1_checked) diyagonal_yaz(Picture2, st);
}

}  // namespace orvena

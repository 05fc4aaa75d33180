#include "display/ariza_yaz.h"

#include "display/diyagonal.h"

namespace orvena {

namespace {
constexpr int kCellLeft = 52, kCellRight = 66, kCellHeight = 16;
// Smaller than the bold key letters, so that a two-digit or negative number keeps a clear
// gap from the letter beside it; plain, which stays crisp at this size; level with the
// letters' foot.
constexpr double kNumberSize = 7;  // points
constexpr int kNumberDrop = 2;     // pixels
}  // namespace

void arıza_yaz(Surface& Picture10, Surface& Picture2, const InstrumentState& st, int n,
               bool check1_checked) {
    const int y = legend_row_y(n);
    Picture10.LineBF(kCellLeft, y, kCellRight, y + kCellHeight, qRgb(255, 255, 255));
    const int pos = st.settings.mandal_pos(n);
    if (pos == 0) {
        // A lever back at 0 must also lose its number along the edge, or the edge would go
        // on showing a position the string no longer has.
        if (check1_checked) diyagonal_yaz(Picture2, st.settings);
        return;
    }

    // The number ends at the cell's right edge, as far from the key letter as it can be.
    const double font_size = Picture10.FontSize;
    Picture10.FontSize = kNumberSize;
    const QString number = QString::number(pos);
    Picture10.CurrentY = y + kNumberDrop;
    Picture10.CurrentX = kCellRight + 1 - Picture10.TextWidth(number);
    Picture10.ForeColor = qRgb(0, 0, 0);
    // Whatever the font makes of it, nothing reaches past the cell, where the next erase
    // could not take it away again.
    Picture10.SetClip(QRect(QPoint(kCellLeft, y), QPoint(kCellRight, y + kCellHeight)));
    Picture10.Print(number, true);
    Picture10.ClearClip();
    Picture10.FontSize = font_size;

    if (check1_checked) diyagonal_yaz(Picture2, st.settings);
}

}  // namespace orvena

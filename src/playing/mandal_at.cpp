#include "playing/mandal_at.h"

namespace orvena {

namespace {
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRailFill = qRgb(252, 179, 100);
constexpr QRgb kStringColour = qRgb(185, 80, 80);
constexpr double kPositionNumberSize = 7;  // points
constexpr double kMarkHalfWidth = 2.5;     // a raised lever's box is 5 pixels wide

QRgb mark_colour(const TuningTables& tables, int s, int i, int lo) {
    QRgb colour = qRgb(255, 0, 0);
    if (i == lo) colour = kBlack;
    if (i == 0) colour = qRgb(0, 0, 255);
    if (s == 26 && i > 8) colour = qRgb(224, 224, 224);  // string 26 has no levers there
    if (tables.mandal_step(s, i) > 8) colour = qRgb(238, 201, 0);
    return colour;
}
}  // namespace

LeverStripPlacement mandal_at(Surface& Picture1, const InstrumentState& st) {
    const int s = st.selection.cur_string;
    const int lo = st.build.mandal_min[s];
    const int hi = st.build.mandal_max[s];
    const LeverStripPlacement placement{-100, lever_strip_width(lo, hi)};

    Picture1.BackColor = kLeverStripBack;
    Picture1.Resize(placement.width, kLeverStripHeight);
    Picture1.Cls();

    // The rail, and the wooden strip under it.
    Picture1.FillStyle = 0;
    Picture1.DrawWidth = 4;
    Picture1.ForeColor = kBlack;
    Picture1.Line(0, 20, 150, 20);
    Picture1.LineTo(150, 40);
    Picture1.LineTo(560, 40);
    Picture1.FillColor = kRailFill;
    Picture1.ExtFloodFill(126, 44);

    // Position numbers, each centred under its lever's foot, in a size that leaves two-digit
    // and negative neighbours 16 pixels apart visibly apart.
    Picture1.CurrentY = 42;
    Picture1.ForeColor = kBlack;
    const double font_size = Picture1.FontSize;
    Picture1.FontSize = kPositionNumberSize;
    for (int i = lo; i <= hi; ++i) {
        const QString number = QString::number(i);
        Picture1.CurrentX = lever_mark_x(i, lo) + kMarkHalfWidth - Picture1.TextWidth(number) / 2;
        Picture1.Print(number, false);
    }
    Picture1.FontSize = font_size;

    // The string running over the levers.
    Picture1.DrawWidth = 2;
    Picture1.Line(20, 21, 500, 21, kStringColour);
    Picture1.DrawWidth = 1;

    for (int i = lo; i <= hi; ++i) {
        const int x = lever_mark_x(i, lo);
        const QRgb colour = mark_colour(st.tables, s, i, lo);
        if (i <= st.settings.mandal_pos[s]) {
            Picture1.LineBF(x, 22, x + 5, 38, colour);
        } else {
            Picture1.Line(x + 3, 40, x - 1, 36, colour);
            Picture1.LineTo(x + 11, 24, colour);
            Picture1.LineTo(x + 15, 28, colour);
            Picture1.LineTo(x + 3, 40, colour);
        }
    }

    if (s == 26) {
        Picture1.DrawWidth = 4;
        Picture1.Line(408, 40, 454, 40, kBlack);
    }
    Picture1.Refresh();
    return placement;
}

}  // namespace orvena

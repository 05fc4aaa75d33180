#include "display/diyagonal.h"

namespace orvena {

namespace {

const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kTopStringColour = qRgb(192, 192, 0);    // strings 1..7
const QRgb kOtherStringColour = qRgb(206, 30, 10);  // strings 8..26
constexpr int kLastTopString = 7;
constexpr int kDiagonalFontSize = 12;

// The lower right corners of the boxes reach into the body's slanted outline; their drawing
// keeps off it, and a number stays inside its box.
void blank_box(Surface& pic, int n) {
    const QRect box = diagonal_box(n);
    pic.SetClip(box, true);
    pic.LineBF(box.left(), box.top(), box.right(), box.bottom(), kWhite);
    pic.ClearClip();
}

}  // namespace

void diyagonal_yaz(Surface& Picture2, const InstrumentSettings& settings) {
    Picture2.ForeColor = kBlue;
    Picture2.DrawWidth = 1;
    Picture2.FontSize = kDiagonalFontSize;
    Picture2.PictureFromImage();
    for (int n = 1; n <= kStringCount; ++n) {
        blank_box(Picture2, n);
        const int pos = settings.mandal_pos(n);
        if (pos == 0) continue;
        const QRect box = diagonal_box(n);
        Picture2.CurrentX = box.left();
        Picture2.CurrentY = box.top();
        Picture2.ForeColor = n <= kLastTopString ? kTopStringColour : kOtherStringColour;
        Picture2.SetClip(box, true);
        Picture2.PrintNumber(pos, true);
        Picture2.ClearClip();
    }
}

void diyagonal_sil(Surface& Picture2) {
    Picture2.ForeColor = kBlue;
    Picture2.DrawWidth = 1;
    for (int n = 1; n <= kStringCount; ++n) blank_box(Picture2, n);
}

}  // namespace orvena

#include "display/key_legend.h"

#include <QString>

#include <cstdio>

namespace orvena {

namespace {
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr int kNumberX = 1, kNoteNameX = 20, kKeyLetterX = 36;
}  // namespace

void print_key_legend(Surface& Picture10, const InstrumentState& st) {
    for (int n = 1; n <= kStringCount; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, "%02d", n);
        Picture10.CurrentY = legend_row_y(n);
        Picture10.CurrentX = kNumberX;
        Picture10.ForeColor = kBlue;
        Picture10.Print(QString::fromLatin1(number), false);
        Picture10.CurrentX = kNoteNameX;
        Picture10.ForeColor = kRed;
        Picture10.Print(QString::fromStdString(st.build.note_names[n]), false);
        Picture10.CurrentX = kKeyLetterX;
        Picture10.ForeColor = kGreen;
        Picture10.FontBold = true;
        Picture10.Print(QString::fromStdString(st.build.key_names[n]), false);
        Picture10.FontBold = false;
    }
    Picture10.Refresh();
}

void print_key_letter(Surface& Picture10, const InstrumentState& st, int s, QRgb colour) {
    Picture10.FontBold = true;
    Picture10.ForeColor = colour;
    Picture10.CurrentY = legend_row_y(s);
    Picture10.CurrentX = kKeyLetterX;
    Picture10.Print(QString::fromStdString(st.build.key_names[s]));
    Picture10.FontBold = false;
}

void print_transposed_position(Surface& Picture10, int s, int position) {
    Picture10.CurrentY = legend_row_y(s);
    Picture10.CurrentX = position >= 10 ? 65 : 72;
    Picture10.ForeColor = kRed;
    Picture10.FontBold = true;
    Picture10.PrintNumber(position, true);
    Picture10.FontBold = false;
}

void clear_transposed_position(Surface& Picture10, int s) {
    const int y = legend_row_y(s);
    Picture10.LineBF(69, y, 87, y + 16, kWhite);
}

}  // namespace orvena

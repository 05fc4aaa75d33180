#include "display/instrument_drawing.h"

namespace orvena {

namespace {

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kPanel = qRgb(230, 220, 180);
// The strings drawn red: string n with n mod 7 == 5, the A strings.
constexpr int kMarkedStringPhase = 5;

// The four framed panels under the bridge, as opposite corners.
struct Box {
    int x1, y1, x2, y2;
};
constexpr Box kPanels[] = {
    {690, 24, 783, 115}, {690, 123, 783, 212}, {690, 220, 783, 309}, {690, 317, 783, 408}};

void flood(Surface& p, int x, int y, QRgb colour) {
    p.FillColor = colour;
    p.ExtFloodFill(x, y);
}

}  // namespace

void resim(Surface& Picture2, const InstrumentState& st) {
    Surface& p = Picture2;
    p.DrawWidth = 2;

    // Body outline and the two inner slanted lines beside the left side.
    p.Line(30, 414, 806, 414);
    p.Line(806, 414, 806, 20);
    p.Line(806, 20, 530, 20);
    p.Line(530, 20, 30, 414);
    p.Line(592, 20, 92, 414);
    p.Line(628, 20, 206, 414);

    // The staircase, one step per string, then its join to the bottom line: without the
    // join the two bands on either side of it would run into each other.
    int x = 620;
    int y = 20;
    for (int i = 0; i < 26; ++i) {
        p.Line(x, y, x - 19, y);
        p.LineTo(x - 19, y + 15);
        x -= 19;
        y += 15;
    }
    p.Line(125, 411, 126, 413);

    p.FillStyle = 0;
    flood(p, 320, 200, qRgb(220, 220, 220));  // band along the left side
    flood(p, 365, 204, qRgb(130, 30, 30));    // band up to the staircase
    flood(p, 385, 210, qRgb(180, 120, 120));  // mark band
    flood(p, 515, 210, qRgb(252, 179, 100));  // sound board

    // String j's row of marks: j + 1 short strokes 3 px apart.
    p.DrawWidth = 2;
    x = 602;
    y = 24;
    for (int j = 1; j <= 26; ++j) {
        for (int k = 1; k <= j + 1; ++k) p.Line(x + 3 * k, y, x + 3 * k, y + 9, kBlack);
        x -= 19;
        y += 15;
    }

    p.DrawWidth = 1;
    p.Line(790, 414, 790, 20);
    p.Line(682, 414, 682, 20);
    p.Line(682, 215, 790, 215);

    p.DrawWidth = 2;
    for (const Box& b : kPanels) p.LineB(b.x1, b.y1, b.x2, b.y2);
    for (int panel_y : {70, 165, 260, 360}) flood(p, 710, panel_y, kPanel);

    p.FillStyle = 1;
    p.DrawWidth = 1;
    for (const Box& b : kPanels) {
        p.Line(b.x1, b.y1, b.x2, b.y2);
        p.Line(b.x1, b.y2, b.x2, b.y1);
    }

    // The bridge: one bar and four feet.
    p.LineBF(735, 414, 736, 20, kBlue);
    for (int foot_y : {60, 158, 254, 352}) p.LineBF(732, foot_y, 739, foot_y + 20, kBlue);

    // Three pin rings per string, each 4 px below the start of its string line.
    p.ForeColor = kBlue;
    p.DrawWidth = 1;
    x = 530;
    y = 30;
    for (int i = 0; i < 26; ++i) {
        p.Circle(x, y, 3);
        p.Circle(x + 14, y + 2, 3);
        p.Circle(x + 28, y + 4, 3);
        x -= 19;
        y += 15;
    }

    tel_çiz(p, st.selection);
}

void tel_çiz(Surface& Picture2, const Selection& selection) {
    Surface& p = Picture2;
    for (int n = 1; n <= kStringCount; ++n) {
        p.ForeColor = (n % 7 == kMarkedStringPhase) ? kRed : kWhite;
        if (n == selection.cur_string) p.ForeColor = kBlack;
        const int x = string_ref_x(n);
        const int y = string_ref_y(n);
        p.Line(x, y, 795, y);
        p.Line(x + 14, y + 2, 798, y + 2);
        p.Line(x + 28, y + 4, 795, y + 4);
    }
    p.Refresh();
}

}  // namespace orvena

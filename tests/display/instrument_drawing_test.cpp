#include <gtest/gtest.h>

#include "display/instrument_drawing.h"
#include "support/pictures.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

using test::rgb;
constexpr QRgb kBlack = rgb(0, 0, 0);
constexpr QRgb kWhite = rgb(255, 255, 255);
constexpr QRgb kRed = rgb(255, 0, 0);
constexpr QRgb kBlue = rgb(0, 0, 255);
constexpr QRgb kSideBand = rgb(220, 220, 220);
constexpr QRgb kDarkBand = rgb(130, 30, 30);
constexpr QRgb kMarkBand = rgb(180, 120, 120);
constexpr QRgb kBoard = rgb(252, 179, 100);
constexpr QRgb kPanel = rgb(230, 220, 180);

struct Drawn {
    InstrumentState st;
    Surface picture{904, 420};
    Drawn() {
        set_string_geometry(st);  // marked_string_phase 5
        resim(picture, st);
    }
};

TEST(Resim, BandsBoardAndPanelsAreFilledAllOverAndNoFillLeaks) {
    Drawn d;
    const Surface& p = d.picture;
    struct Probe {
        int x, y;
        QRgb colour;
    };
    const Probe probes[] = {
        // The side band at the top and at the bottom of the body.
        {540, 38, kSideBand},
        {320, 200, kSideBand},
        {80, 399, kSideBand},
        // The band inside it, up to the staircase: middle and at the foot.
        {365, 204, kDarkBand},
        {118, 400, kDarkBand},
        {596, 23, kDarkBand},
        // The mark band beyond the staircase, between mark rows.
        {610, 23, kMarkBand},
        {395, 216, kMarkBand},
        {215, 396, kMarkBand},
        // Either side of the staircase's join to the bottom line.
        {110, 411, kDarkBand},
        {135, 411, kMarkBand},
        // The sound board, also right of the inner frame lines and between the panels.
        {515, 215, kBoard},
        {650, 310, kBoard},
        {800, 410, kBoard},
        {700, 217, kBoard},
        {686, 100, kBoard},
        {700, 121, kBoard},
        // Each panel, on both sides of its diagonals.
        {710, 70, kPanel},
        {770, 66, kPanel},
        {710, 168, kPanel},
        {770, 170, kPanel},
        {710, 260, kPanel},
        {770, 260, kPanel},
        {710, 363, kPanel},
        {770, 350, kPanel},
        // Outline, staircase join, frame lines and diagonals in black.
        {400, 414, kBlack},
        {806, 300, kBlack},
        {125, 412, kBlack},
        {790, 50, kBlack},
        {682, 50, kBlack},
        {700, 215, kBlack},
        {690, 64, kBlack},
        {700, 34, kBlack},
        // Bridge bar and a foot.
        {736, 50, kBlue},
        {735, 400, kBlue},
        {733, 65, kBlue},
        {739, 370, kBlue},
        // Pin rings of string 1 and string 26; the inside of a ring keeps its band.
        {533, 30, kBlue},
        {530, 33, kBlue},
        {530, 30, kSideBand},
        {86, 409, kBlue},
        // Marks: string 1 has two strokes, string 26 twenty-seven.
        {605, 32, kBlack},
        {608, 32, kBlack},
        {611, 32, kMarkBand},
        {208, 407, kBlack},
        {206, 407, kMarkBand},
    };
    for (const Probe& pr : probes)
        EXPECT_EQ(p.pixel(pr.x, pr.y), pr.colour) << "at " << pr.x << "," << pr.y;

    // Outside the body nothing was drawn.
    EXPECT_EQ(p.pixel(10, 10), kWhite);
    EXPECT_EQ(p.pixel(850, 200), kWhite);
    EXPECT_EQ(p.pixel(20, 300), kWhite);

    // The state resim leaves behind for later drawing.
    EXPECT_EQ(p.DrawWidth, 1);
    EXPECT_EQ(p.FillStyle, 1);
}

// The three lines of string n in the colour expected, ending at 795, 798 and 795.
void expect_string(const Surface& p, int n, QRgb colour) {
    const int x = string_ref_x(n);
    const int y = string_ref_y(n);
    SCOPED_TRACE(testing::Message() << "string " << n);
    EXPECT_EQ(p.pixel(x, y), colour);
    EXPECT_EQ(p.pixel(x + 14, y + 2), colour);
    EXPECT_EQ(p.pixel(x + 28, y + 4), colour);
    for (int dy : {0, 2, 4}) EXPECT_EQ(p.pixel(650, y + dy), colour) << dy;
    EXPECT_EQ(p.pixel(795, y), colour);
    EXPECT_EQ(p.pixel(798, y + 2), colour);
    EXPECT_EQ(p.pixel(795, y + 4), colour);
    EXPECT_EQ(p.pixel(796, y), kBoard);
    EXPECT_EQ(p.pixel(799, y + 2), kBoard);
    EXPECT_NE(p.pixel(650, y + 1), colour);
}

QRgb expected_colour(int n, int selected) {
    if (n == selected) return kBlack;
    return n % 7 == 5 ? kRed : kWhite;
}

// Selecting a string draws it black and gives the one selected before its colour back;
// with none selected (0 or 27) the marked strings are red and the rest white.
TEST(TelCiz, SelectedStringIsBlackAndTheOthersKeepTheirColours) {
    Drawn d;
    int refreshes = 0;
    d.picture.add_listener([&] { ++refreshes; });
    for (int selected : {0, 27, 12, 3}) {
        d.st.cur_string = static_cast<std::int16_t>(selected);
        tel_çiz(d.picture, d.st);
        for (int n = 1; n <= 26; ++n) expect_string(d.picture, n, expected_colour(n, selected));
        if (selected == 12) test::dump_picture("instrument_string12", d.picture.image(), 2);
    }
    EXPECT_EQ(refreshes, 4);
    EXPECT_EQ(d.picture.ForeColor, kRed | 0xFF000000u);  // left at string 26's colour
}

}  // namespace
}  // namespace orvena

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

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
        set_string_geometry(st);
        resim(picture, st);
    }
};

TEST(Resim, BandsBoardAndPanelsAreFilledAllOverAndNoFillLeaks) {
    Drawn d;
    const Surface& p = d.picture;
    // Each colour with the x, y pairs where it must show.
    const std::pair<QRgb, std::vector<int>> probes[] = {
        // The side band at the top and bottom of the body; inside a pin ring it stays.
        {kSideBand, {540, 38, 320, 200, 80, 399, 530, 30}},
        // The band inside it up to the staircase (middle, foot, left of its bottom join).
        {kDarkBand, {365, 204, 118, 400, 596, 23, 110, 411}},
        // The mark band beyond the staircase, between mark rows; right of the join.
        {kMarkBand, {610, 23, 395, 216, 215, 396, 135, 411, 611, 32, 206, 407}},
        // The sound board, also right of the inner frame lines and between the panels.
        {kBoard, {515, 215, 650, 310, 800, 410, 700, 217, 686, 100, 700, 121}},
        // Each panel, on both sides of its diagonals.
        {kPanel, {710, 70, 770, 66, 710, 168, 770, 170, 710, 260, 770, 260, 710, 363, 770, 350}},
        // Outline, staircase join, frame lines, diagonals; the marks (two strokes on
        // string 1, twenty-seven on string 26).
        {kBlack, {400, 414, 806, 300, 125, 412, 790, 50,  682, 50,  700,
                  215, 690, 64,  700, 34,  605, 32,  608, 32,  208, 407}},
        // Bridge bar, a foot, the pin rings of strings 1 and 26.
        {kBlue, {736, 50, 735, 400, 733, 65, 739, 370, 533, 30, 530, 33, 86, 409}},
        // Outside the body nothing was drawn.
        {kWhite, {10, 10, 850, 200, 20, 300}},
    };
    for (const auto& [colour, xy] : probes) {
        for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
            EXPECT_EQ(p.pixel(xy[i], xy[i + 1]), colour) << "at " << xy[i] << "," << xy[i + 1];
        }
    }

    // The state resim leaves behind for later drawing.
    EXPECT_EQ(p.DrawWidth, 1);
    EXPECT_EQ(p.FillStyle, 1);
}

// The three lines of string n in the colour expected: from 0, 14 and 28 px right of the
// string's place (2 px lower each) to x 795, 798 and 795, where the board begins again.
void expect_string(const Surface& p, int n, QRgb colour) {
    const int x = string_ref_x(n), y = string_ref_y(n);
    SCOPED_TRACE(testing::Message() << "string " << n);
    for (auto [dx, dy, end] : {std::tuple{0, 0, 795}, {14, 2, 798}, {28, 4, 795}}) {
        EXPECT_EQ(std::tuple(p.pixel(x + dx, y + dy), p.pixel(650, y + dy), p.pixel(end, y + dy),
                             p.pixel(end + 1, y + dy)),
                  std::tuple(colour, colour, colour, kBoard));
    }
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

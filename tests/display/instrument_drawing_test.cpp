// The instrument drawing at the window's coordinates: its filled areas and the strings' colours.

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
constexpr QRgb kBlack = rgb(0, 0, 0), kWhite = rgb(255, 255, 255), kRed = rgb(255, 0, 0);
constexpr QRgb kBoard = rgb(252, 179, 100);

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
    // Each colour with the x, y pairs where it must show.
    // clang-format off
    const std::pair<QRgb, std::vector<int>> probes[] = {
        {rgb(220, 220, 220), {540, 38, 80, 399, 530, 30}},  // side band, also in a pin ring
        {rgb(130, 30, 30), {365, 204, 596, 23, 110, 411}},  // the band inside it
        {rgb(180, 120, 120), {610, 23, 215, 396, 135, 411}},  // the mark band, between marks
        {kBoard, {515, 215, 800, 410, 686, 100, 700, 121}},  // sound board, between the panels
        {rgb(230, 220, 180), {710, 70, 770, 66, 710, 363, 770, 350}},  // panels, both sides
        // Outline, staircase join, frame line, diagonal; marks of strings 1 and 26.
        {kBlack, {400, 414, 125, 412, 790, 50, 690, 64, 605, 32, 608, 32, 208, 407}},
        {rgb(0, 0, 255), {736, 50, 733, 65, 533, 30, 86, 409}},  // bridge, foot, pin rings
        {kWhite, {10, 10, 850, 200, 20, 300}},  // outside the body nothing is drawn
    };
    // clang-format on
    for (const auto& [colour, xy] : probes)
        for (std::size_t i = 0; i + 1 < xy.size(); i += 2)
            EXPECT_EQ(d.picture.pixel(xy[i], xy[i + 1]), colour) << xy[i] << "," << xy[i + 1];
}

// The three lines of string n in the colour expected: from 0, 14 and 28 px right of the
// string's place (2 px lower each) to x 795, 798 and 795, where the board begins again.
void expect_string(const Surface& p, int n, QRgb colour) {
    const int x = string_ref_x(n), y = string_ref_y(n);
    for (auto [dx, dy, end] : {std::tuple{0, 0, 795}, {14, 2, 798}, {28, 4, 795}}) {
        EXPECT_EQ(std::tuple(p.pixel(x + dx, y + dy), p.pixel(650, y + dy), p.pixel(end, y + dy),
                             p.pixel(end + 1, y + dy)),
                  std::tuple(colour, colour, colour, kBoard))
            << "string " << n;
    }
    EXPECT_NE(p.pixel(650, y + 1), colour) << "string " << n;
}

// Selecting a string draws it black and gives the one selected before its colour back;
// with none selected (0 or 27) the marked strings (5, 12, 19, 26) are red and the rest white.
TEST(TelCiz, SelectedStringIsBlackAndTheOthersKeepTheirColours) {
    Drawn d;
    int refreshes = 0;
    d.picture.add_listener([&] { ++refreshes; });
    for (int selected : {0, 27, 12, 3}) {
        d.st.cur_string = static_cast<std::int16_t>(selected);
        tel_çiz(d.picture, d.st);
        for (int n = 1; n <= 26; ++n)
            expect_string(d.picture, n, n == selected ? kBlack : n % 7 == 5 ? kRed : kWhite);
    }
    EXPECT_EQ(refreshes, 4);
}

}  // namespace
}  // namespace orvena

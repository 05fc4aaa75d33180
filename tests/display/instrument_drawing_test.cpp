// The strings' colours and the lever numbers of the legend and of the slanted edge, in pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>

#include "display/ariza_yaz.h"
#include "display/diyagonal.h"
#include "display/instrument_drawing.h"
#include "display/key_legend.h"
#include "support/pictures.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

using test::rgb;
constexpr QRgb kBlack = rgb(0, 0, 0), kWhite = rgb(255, 255, 255), kRed = rgb(255, 0, 0);
constexpr QRgb kBoard = rgb(252, 179, 100), kBlue = rgb(0, 0, 255);

struct Drawn {
    InstrumentState st;
    Surface picture{904, 420};
    Drawn() {
        set_string_geometry(st.build);
        resim(picture, st);
    }
};

// The three lines of string n in the colour expected: from 0, 14 and 28 px right of the
// string's place (2 px lower each) to x 795, 798 and 795, where the board begins again.
void expect_string(const Surface& p, int n, QRgb colour) {
    const int x = string_ref_x(n), y = string_ref_y(n);
    for (auto [dx, dy, end] : {std::tuple{0, 0, 795}, {14, 2, 798}, {28, 4, 795}})
        EXPECT_EQ(std::tuple(p.pixel(x + dx, y + dy), p.pixel(650, y + dy), p.pixel(end, y + dy),
                             p.pixel(end + 1, y + dy)),
                  std::tuple(colour, colour, colour, kBoard))
            << "string " << n;
    EXPECT_NE(p.pixel(650, y + 1), colour) << "string " << n;
}

// The selected string black, the others back in their colours: 5, 12, 19, 26 red, the rest white.
TEST(TelCiz, SelectedStringIsBlackAndTheOthersKeepTheirColours) {
    Drawn d;
    for (int selected : {0, 27, 12, 3}) {
        d.st.selection.cur_string = static_cast<std::int16_t>(selected);
        tel_çiz(d.picture, d.st.selection);
        for (int n = 1; n <= 26; ++n)
            expect_string(d.picture, n, n == selected ? kBlack : n % 7 == 5 ? kRed : kWhite);
    }
}

// String j's row of marks, from x 602 - 19 (j - 1) at y 24 + 15 (j - 1), has j + 1 strokes;
// its three pin rings are centred 4 px below the starts of its three lines.
TEST(Resim, EveryStringsRowOfMarksHasOneStrokeMoreThanItsNumber) {
    const Drawn d;
    for (int j = 1; j <= 26; ++j) {
        const int x = 602 - 19 * (j - 1), y = 24 + 15 * (j - 1) + 5;
        int strokes = 0;
        for (int dx = 1; dx <= 3 * (j + 2); ++dx)
            strokes +=
                d.picture.pixel(x + dx, y) == kBlack && d.picture.pixel(x + dx - 1, y) != kBlack;
        EXPECT_EQ(strokes, j + 1) << "string " << j;
        for (const int ring : {0, 1, 2}) {  // blue, of radius 3, 4 px below each line's start
            const int cx = 530 - 19 * (j - 1) + 14 * ring, cy = 30 + 15 * (j - 1) + 2 * ring;
            EXPECT_EQ(std::pair(d.picture.pixel(cx, cy - 3), d.picture.pixel(cx, cy + 3)),
                      std::pair(kBlue, kBlue))
                << "string " << j << " ring " << ring;
        }
    }
}

using test::count_colour;
constexpr QRgb kOlive = rgb(192, 192, 0), kRedBrown = rgb(206, 30, 10);

class LeverNumbers : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_qt_app();
        legend.LineBF(0, 0, 89, 395, qRgb(200, 200, 200));  // so every white is put there
        instrument.LineBF(0, 0, 903, 419, qRgb(200, 200, 200));
    }
    void set_and_write(int n, int pos, bool check1) {
        st.settings.mandal_pos(n) = static_cast<std::int16_t>(pos);
        legend.clear_print_log();
        instrument.clear_print_log();
        arıza_yaz(legend, instrument, st, n, check1);
    }
    Surface legend{90, 396};
    Surface instrument{904, 420};
    InstrumentState st;
};

// At every lever position of every string the number is printed in its cell (x 52..66, from
// 2 px below its top), more than 5 blank columns from the key letter (bold at x 36, as
// start-up prints it); back at 0 the cell is blank again.
TEST_F(LeverNumbers, LegendNumbersStandClearOfTheKeyLetters) {
    set_names(st.build);
    set_lever_limits(st.build);
    const QRgb green = rgb(0, 255, 0);
    const auto inked = [&](int y, QRgb colour) {  // first and last column inked in the row
        std::pair<int, int> span{90, -1};
        for (int x = 0; x < 90; ++x)
            if (test::has_colour(legend, QRect(x, y, 1, 17), colour))
                span = {std::min(span.first, x), x};
        return span;
    };
    for (int n = 1; n <= kStringCount; ++n) {
        const int y = 15 * (n - 1) + 2;
        print_key_letter(legend, st, n, green);
        const int letter_end = inked(y, green).second;
        for (int pos = st.build.mandal_min(n); pos <= st.build.mandal_max(n); ++pos) {
            if (pos == 0) continue;
            set_and_write(n, pos, false);
            const auto [first, last] = inked(y, kBlack);
            ASSERT_EQ(legend.print_log().size(), 1u);
            EXPECT_EQ(legend.print_log().front().text.toStdString(), std::to_string(pos));
            EXPECT_TRUE(first - letter_end > 5 && first >= 52 && last <= 66 && last > first &&
                        legend.print_log().front().y == y + 2)
                << "string " << n << " lever " << pos;
        }
        set_and_write(n, 0, false);  // back at 0: the whole cell white, nothing of a number left
        EXPECT_EQ(count_colour(legend, QRect(52, y, 15, 17), kWhite), 15 * 17) << "string " << n;
        print_key_letter(legend, st, n, kBlack);  // its key held: the letter as large as before
        EXPECT_EQ(inked(y, kBlack).second, letter_end) << "string " << n;
    }
}

// Strings 1..7 olive, the others red-brown, 12 pt, from each box's upper left corner.
TEST_F(LeverNumbers, WithCheck1EveryDiagonalNumberIsRewrittenInItsColour) {
    st.settings.mandal_pos(2) = -4;
    st.settings.mandal_pos(7) = 10;
    st.settings.mandal_pos(8) = 1;
    st.settings.mandal_pos(26) = -8;
    set_and_write(5, 3, true);
    // clang-format off
    const std::tuple<int, const char*, QRgb, int, int> wants[] = {
        {2, "-4 ", kOlive, 470, 33}, {5, " 3 ", kOlive, 413, 78}, {7, " 10 ", kOlive, 375, 108},
        {8, " 1 ", kRedBrown, 356, 123}, {26, "-8 ", kRedBrown, 14, 393}};
    // clang-format on
    const auto& log = instrument.print_log();
    ASSERT_EQ(log.size(), std::size(wants));
    for (std::size_t i = 0; i < log.size(); ++i) {
        const auto [n, text, colour, x, y] = wants[i];
        EXPECT_EQ(std::tuple(log[i].text.toStdString(), log[i].colour & 0xFFFFFFu, log[i].x,
                             log[i].y, log[i].font_size),
                  std::tuple(text, colour, x, y, 12));
        EXPECT_GT(count_colour(instrument, diagonal_box(n), colour), 0) << "string " << n;
    }
    set_and_write(5, 0, true);  // a lever back at 0 loses its number; the others stay
    EXPECT_EQ(count_colour(instrument, diagonal_box(5), kWhite), 22 * 17);
    EXPECT_GT(count_colour(instrument, diagonal_box(8), kRedBrown), 0);
}

}  // namespace
}  // namespace orvena

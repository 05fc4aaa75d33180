// Lever numbers: the legend's lever cell of one string and the diagonal numbers along the
// instrument's slanted edge.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "display/ariza_yaz.h"
#include "display/diyagonal.h"
#include "support/pictures.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

using test::count_colour;
using test::rgb;
constexpr QRgb kWhite = rgb(255, 255, 255), kBlack = rgb(0, 0, 0), kGrey = rgb(200, 200, 200);
constexpr QRgb kOlive = rgb(192, 192, 0), kRedBrown = rgb(206, 30, 10);

class LeverNumbers : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_qt_app();
        legend.LineBF(0, 0, 89, 395, qRgb(200, 200, 200));  // so every white is put there
        instrument.LineBF(0, 0, 903, 419, qRgb(200, 200, 200));
    }
    void set_and_write(int n, int pos, bool check1) {
        st.mandal_pos(n) = static_cast<std::int16_t>(pos);
        legend.clear_print_log();
        instrument.clear_print_log();
        arıza_yaz(legend, instrument, st, n, check1);
    }
    Surface legend{90, 396};
    Surface instrument{904, 420};
    InstrumentState st;
};

// At every lever position of every string the number is printed in its cell (x 52..66), more
// than 5 blank columns from the key letter (bold at x 36, as start-up prints it).
TEST_F(LeverNumbers, LegendNumbersStandClearOfTheKeyLetters) {
    set_names(st);
    set_lever_limits(st);
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
        legend.CurrentX = 36;
        legend.CurrentY = y;
        legend.ForeColor = green;
        legend.FontBold = true;
        legend.Print(QString::fromStdString(st.key_names(n)), false);
        legend.FontBold = false;
        const int letter_end = inked(y, green).second;
        for (int pos = st.mandal_min(n); pos <= st.mandal_max(n); ++pos) {
            set_and_write(n, pos, false);
            const auto [first, last] = inked(y, kBlack);
            if (pos == 0) {
                EXPECT_EQ(std::tuple(first, legend.print_log().size()), std::tuple(90, 0u));
                continue;
            }
            ASSERT_EQ(legend.print_log().size(), 1u);
            EXPECT_EQ(legend.print_log().front().text.toStdString(), std::to_string(pos));
            EXPECT_TRUE(first - letter_end > 5 && last <= 66) << "string " << n << " lever " << pos;
        }
    }
    EXPECT_TRUE(!legend.FontBold && legend.FontSize == 8) << "the legend's own font stays";
}

// Strings 1..7 olive, the others red-brown, 12 pt, from each box's upper left corner.
TEST_F(LeverNumbers, WithCheck1EveryDiagonalNumberIsRewrittenInItsColour) {
    const QImage before = instrument.image().copy();
    set_and_write(5, 3, false);
    EXPECT_EQ(instrument.image(), before) << "with Check1 off the instrument is not touched";

    st.mandal_pos(2) = -4;
    st.mandal_pos(7) = 10;
    st.mandal_pos(8) = 1;
    st.mandal_pos(26) = -8;
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
    EXPECT_EQ(count_colour(instrument, diagonal_box(3), kWhite), 22 * 17) << "blank box";

    // A lever back at 0 also loses its diagonal number.
    set_and_write(5, 0, true);
    EXPECT_EQ(count_colour(instrument, diagonal_box(5), kGrey) +
                  count_colour(instrument, diagonal_box(5), kOlive),
              0);
    EXPECT_GT(count_colour(instrument, diagonal_box(8), kRedBrown), 0);
}

}  // namespace
}  // namespace orvena

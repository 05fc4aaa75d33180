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
constexpr QRgb kWhite = rgb(255, 255, 255);
constexpr QRgb kBlack = rgb(0, 0, 0);
constexpr QRgb kGrey = rgb(200, 200, 200);
constexpr QRgb kOlive = rgb(192, 192, 0);
constexpr QRgb kRedBrown = rgb(206, 30, 10);

int area(QRect r) {
    return r.width() * r.height();
}

class LeverNumbers : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_qt_app();
        // Grey everywhere, so every white pixel below was put there on purpose.
        legend.LineBF(0, 0, 89, 395, qRgb(200, 200, 200));
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

// The cell is blanked; a lever off 0 prints its number in black. Only the cell changes.
TEST_F(LeverNumbers, LegendCellShowsTheLeverNumber) {
    const std::pair<int, int> cases[] = {{4, 0}, {1, 12}, {9, 9}, {26, -8}, {13, 10}};
    for (const auto& [n, pos] : cases) {
        SCOPED_TRACE(n);
        set_and_write(n, pos, false);
        const int y = 15 * (n - 1) + 2;
        const QRect cell(QPoint(52, y), QPoint(66, y + 16));
        EXPECT_EQ(legend.pixel(51, y), kGrey);
        EXPECT_EQ(legend.pixel(67, y + 16), kGrey);
        EXPECT_EQ(legend.pixel(60, y + 17), kGrey);
        if (pos == 0) {
            EXPECT_EQ(count_colour(legend, cell, kWhite), area(cell));
            EXPECT_TRUE(legend.print_log().empty());
            continue;
        }
        ASSERT_EQ(legend.print_log().size(), 1u);
        EXPECT_EQ(legend.print_log().front().text.toStdString(), std::to_string(pos));
        EXPECT_GT(count_colour(legend, cell, kBlack), 0);
    }
    EXPECT_TRUE(!legend.FontBold && legend.FontSize == 8) << "the legend's own font stays";
}

// At every lever position of every string the number keeps more than 5 blank columns from the
// key letter (bold at x 36, as start-up prints it) and ends inside its cell.
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
            if (pos == 0) continue;
            set_and_write(n, pos, false);
            const auto [first, last] = inked(y, kBlack);
            EXPECT_TRUE(first - letter_end > 5 && last <= 66) << "string " << n << " lever " << pos;
        }
    }
}

TEST_F(LeverNumbers, WithCheck1EveryDiagonalNumberIsRewrittenInItsColour) {
    const QImage before = instrument.image().copy();
    set_and_write(5, 3, false);
    EXPECT_EQ(instrument.image(), before) << "with Check1 off the instrument is not touched";

    st.mandal_pos(2) = -4;
    st.mandal_pos(7) = 10;
    st.mandal_pos(8) = 1;
    st.mandal_pos(26) = -8;
    set_and_write(5, 3, true);
    // Strings 1..7 olive, the others red-brown, 12 pt, from each box's upper left corner.
    const std::tuple<int, const char*, QRgb> wants[] = {{2, "-4 ", kOlive},
                                                        {5, " 3 ", kOlive},
                                                        {7, " 10 ", kOlive},
                                                        {8, " 1 ", kRedBrown},
                                                        {26, "-8 ", kRedBrown}};
    const auto& log = instrument.print_log();
    ASSERT_EQ(log.size(), std::size(wants));
    for (std::size_t i = 0; i < log.size(); ++i) {
        const auto [n, text, colour] = wants[i];
        EXPECT_EQ(std::tuple(log[i].text.toStdString(), log[i].colour & 0xFFFFFFu, log[i].x,
                             log[i].y, log[i].font_size),
                  std::tuple(text, colour, 489 - 19 * (n - 1), 18 + 15 * (n - 1), 12))
            << "string " << n;
        EXPECT_GT(count_colour(instrument, diagonal_box(n), colour), 0) << "string " << n;
    }
    // All 26 boxes are white apart from their numbers; the drawing beside them is kept.
    for (int n = 1; n <= 26; ++n) {
        const QRect box = diagonal_box(n);
        EXPECT_EQ(count_colour(instrument, box, kGrey), 0) << "string " << n;
        EXPECT_EQ(instrument.pixel(box.left() - 1, box.top()), kGrey);
        EXPECT_EQ(instrument.pixel(box.right() + 1, box.bottom()), kGrey);
    }
    EXPECT_EQ(count_colour(instrument, diagonal_box(3), kWhite), 22 * 17);
    // The drawing as it was before the boxes became the background picture.
    EXPECT_TRUE(instrument.HasPicture());
    instrument.Cls();
    EXPECT_EQ(instrument.pixel(489, 18), kGrey);

    // A lever back at 0 also loses its diagonal number.
    set_and_write(5, 0, true);
    EXPECT_EQ(count_colour(instrument, diagonal_box(5), kWhite), area(diagonal_box(5)));
    EXPECT_GT(count_colour(instrument, diagonal_box(8), kRedBrown), 0);
}

}  // namespace
}  // namespace orvena

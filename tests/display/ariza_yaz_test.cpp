// Lever numbers: the legend's lever cell of one string and the diagonal numbers along the
// instrument's slanted edge.

#include <gtest/gtest.h>

#include <string>

#include "display/ariza_yaz.h"
#include "display/diyagonal.h"
#include "support/qt_app.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {
namespace {

constexpr QRgb kWhite = test::rgb(255, 255, 255);
constexpr QRgb kBlack = test::rgb(0, 0, 0);
constexpr QRgb kGrey = test::rgb(200, 200, 200);
constexpr QRgb kOlive = test::rgb(192, 192, 0);
constexpr QRgb kRedBrown = test::rgb(206, 30, 10);

int count_in(const Surface& pic, QRect r, QRgb colour) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += pic.pixel(x, y) == colour;
    return n;
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

TEST_F(LeverNumbers, positionZeroLeavesABlankWhiteCell) {
    set_and_write(4, 0, true);
    const QRect cell(QPoint(52, 47), QPoint(66, 63));
    EXPECT_EQ(count_in(legend, cell, kWhite), cell.width() * cell.height());
    EXPECT_TRUE(legend.print_log().empty());
    // Only the cell: its neighbours keep what they had.
    EXPECT_EQ(legend.pixel(51, 47), kGrey);
    EXPECT_EQ(legend.pixel(67, 63), kGrey);
    EXPECT_EQ(legend.pixel(60, 46), kGrey);
    EXPECT_EQ(legend.pixel(60, 64), kGrey);
}

TEST_F(LeverNumbers, twoDigitNumbersStartFurtherLeftThanOneDigitAndNegativeOnes) {
    struct Case {
        int n, pos, x;
        const char* text;
    };
    for (const Case& c : {Case{1, 12, 48, " 12 "}, Case{9, 9, 55, " 9 "}, Case{26, -8, 55, "-8 "},
                          Case{13, 10, 48, " 10 "}}) {
        set_and_write(c.n, c.pos, false);
        ASSERT_EQ(legend.print_log().size(), 1u) << "string " << c.n;
        const PrintRecord& r = legend.print_log().front();
        EXPECT_EQ(r.text.toStdString(), c.text);
        EXPECT_EQ(r.x, c.x);
        EXPECT_EQ(r.y, 15 * (c.n - 1) + 2);
        EXPECT_EQ(r.colour & 0xFFFFFFu, kBlack);
        EXPECT_TRUE(r.bold);
        EXPECT_GT(count_in(legend, QRect(QPoint(48, r.y), QPoint(66, r.y + 16)), kBlack), 0);
    }
    EXPECT_FALSE(legend.FontBold);
}

TEST_F(LeverNumbers, withCheck1OffTheInstrumentIsNotTouched) {
    const QImage before = instrument.image().copy();
    set_and_write(5, 3, false);
    EXPECT_EQ(instrument.image(), before);
}

TEST_F(LeverNumbers, withCheck1OnEveryDiagonalNumberIsRewrittenInItsColour) {
    st.mandal_pos(2) = -4;
    st.mandal_pos(7) = 10;
    st.mandal_pos(8) = 1;
    st.mandal_pos(26) = -8;
    set_and_write(5, 3, true);

    struct Want {
        int n;
        const char* text;
        QRgb colour;
    };
    const Want wants[] = {{2, "-4 ", kOlive},
                          {5, " 3 ", kOlive},
                          {7, " 10 ", kOlive},
                          {8, " 1 ", kRedBrown},
                          {26, "-8 ", kRedBrown}};
    const auto& log = instrument.print_log();
    ASSERT_EQ(log.size(), std::size(wants));
    for (std::size_t i = 0; i < log.size(); ++i) {
        const Want& w = wants[i];
        EXPECT_EQ(log[i].text.toStdString(), w.text);
        EXPECT_EQ(log[i].colour & 0xFFFFFFu, w.colour) << "string " << w.n;
        EXPECT_EQ(log[i].x, 489 - 19 * (w.n - 1));
        EXPECT_EQ(log[i].y, 18 + 15 * (w.n - 1));
        EXPECT_EQ(log[i].font_size, 12);
        EXPECT_GT(count_in(instrument, diagonal_box(w.n), w.colour), 0) << "string " << w.n;
    }
    // All 26 boxes are white apart from their numbers; the drawing beside them is kept.
    for (int n = 1; n <= 26; ++n) {
        const QRect box = diagonal_box(n);
        EXPECT_EQ(count_in(instrument, box, kGrey), 0) << "string " << n;
        EXPECT_EQ(instrument.pixel(box.left() - 1, box.top()), kGrey);
        EXPECT_EQ(instrument.pixel(box.right() + 1, box.bottom()), kGrey);
    }
    EXPECT_EQ(count_in(instrument, diagonal_box(3), kWhite), 22 * 17);
    // The drawing as it was before the boxes became the background picture.
    EXPECT_TRUE(instrument.HasPicture());
    instrument.Cls();
    EXPECT_EQ(instrument.pixel(489, 18), kGrey);
}

TEST_F(LeverNumbers, leverBackAtZeroAlsoLosesItsDiagonalNumber) {
    st.mandal_pos(9) = 4;
    set_and_write(5, 3, true);
    ASSERT_GT(count_in(instrument, diagonal_box(5), kOlive), 0);
    set_and_write(5, 0, true);
    const QRect box = diagonal_box(5);
    EXPECT_EQ(count_in(instrument, box, kWhite), box.width() * box.height());
    EXPECT_GT(count_in(instrument, diagonal_box(9), kRedBrown), 0);
}

TEST_F(LeverNumbers, switchingTheDiagonalOffBlanksAllBoxes) {
    st.mandal_pos(3) = 2;
    st.mandal_pos(20) = -1;
    diyagonal_yaz(instrument, st);
    instrument.ForeColor = qRgb(0, 0, 0);
    instrument.DrawWidth = 4;
    diyagonal_sil(instrument);
    for (int n = 1; n <= 26; ++n) {
        const QRect box = diagonal_box(n);
        EXPECT_EQ(count_in(instrument, box, kWhite), box.width() * box.height()) << n;
    }
    EXPECT_EQ(instrument.pixel(488, 18), kGrey);
    EXPECT_EQ(instrument.ForeColor, qRgb(0, 0, 255));
    EXPECT_EQ(instrument.DrawWidth, 1);
}

}  // namespace
}  // namespace orvena

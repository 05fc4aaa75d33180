#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "playing/mandal_at.h"
#include "support/qt_app.h"

namespace orvena {
namespace {

constexpr QRgb kRed = test::rgb(255, 0, 0);
constexpr QRgb kBlack = test::rgb(0, 0, 0);
constexpr QRgb kBlue = test::rgb(0, 0, 255);
constexpr QRgb kGold = test::rgb(238, 201, 0);
constexpr QRgb kGrey = test::rgb(224, 224, 224);

InstrumentState state_with_string(int s, int position) {
    test::ensure_qt_app();
    InstrumentState st;
    set_lever_limits(st);
    for (int n = 1; n <= kStringCount; ++n) {
        for (int p = kLeverLo; p <= kLeverHi; ++p)
            st.mandal_step(n, p) = static_cast<std::int16_t>(p);
    }
    st.cur_string = static_cast<std::int16_t>(s);
    st.mandal_pos[s] = static_cast<std::int16_t>(position);
    return st;
}

QRgb expected_mark_colour(int i, int lo) {
    if (i > 8) return kGold;
    if (i == 0) return kBlue;
    if (i == lo) return kBlack;
    return kRed;
}

// A raised lever is a filled box (its middle is in the mark colour); a lever above the
// current position is a tilted outline (its middle is the strip's grey, its slanted side
// in the mark colour).
bool is_raised(const Surface& pic, int x, QRgb colour) {
    return pic.pixel(x + 2, 30) == colour;
}
bool is_tilted(const Surface& pic, int x, QRgb colour) {
    return pic.pixel(x + 2, 30) == kGrey && pic.pixel(x + 5, 30) == colour;
}

TEST(LeverStrip, WidthFollowsTheStringsNumberOfLevers) {
    Surface pic(485, kLeverStripHeight);
    const std::pair<int, int> widths[] = {{1, 372}, {2, 404}, {4, 404}, {5, 468},
                                          {7, 468}, {8, 516}, {26, 516}};
    for (auto [s, width] : widths) {
        auto st = state_with_string(s, 0);
        const LeverStripPlacement placed = mandal_at(pic, st);
        EXPECT_EQ(placed.width, width) << "string " << s;
        EXPECT_EQ(placed.left, -100);
        EXPECT_EQ(pic.width(), width);
        EXPECT_EQ(pic.height(), kLeverStripHeight);
    }
}

TEST(LeverStrip, String1AtHomeHasSixRaisedAndSixTiltedLevers) {
    Surface pic(485, kLeverStripHeight);
    auto st = state_with_string(1, 0);
    mandal_at(pic, st);
    for (int i = -5; i <= 6; ++i) {
        const int x = lever_mark_x(i, -5);
        const QRgb colour = expected_mark_colour(i, -5);
        if (i <= 0) {
            EXPECT_TRUE(is_raised(pic, x, colour)) << "position " << i;
        } else {
            EXPECT_TRUE(is_tilted(pic, x, colour)) << "position " << i;
        }
    }
    // The position numbers are printed from x 150, 16 pixels apart, on row 42.
    ASSERT_EQ(pic.print_log().size(), 12u);
    EXPECT_EQ(pic.print_log().front().text, "-5 ");
    EXPECT_EQ(pic.print_log().front().x, 150);
    EXPECT_EQ(pic.print_log().back().text, " 6 ");
    EXPECT_EQ(pic.print_log().back().x, 150 + 16 * 11);
    EXPECT_EQ(pic.print_log().back().y, 42);
}

TEST(LeverStrip, AllLeversRaisedAtTheTopAndOnlyTheFirstAtTheBottom) {
    Surface pic(485, kLeverStripHeight);
    auto top = state_with_string(12, 12);
    mandal_at(pic, top);
    for (int i = -8; i <= 12; ++i) {
        EXPECT_TRUE(is_raised(pic, lever_mark_x(i, -8), expected_mark_colour(i, -8))) << i;
    }
    auto bottom = state_with_string(12, -8);
    mandal_at(pic, bottom);
    EXPECT_TRUE(is_raised(pic, lever_mark_x(-8, -8), kBlack));
    for (int i = -7; i <= 12; ++i) {
        EXPECT_TRUE(is_tilted(pic, lever_mark_x(i, -8), expected_mark_colour(i, -8))) << i;
    }
}

TEST(LeverStrip, RailAndWoodUnderTheLevers) {
    Surface pic(485, kLeverStripHeight);
    auto st = state_with_string(17, 0);
    mandal_at(pic, st);
    EXPECT_EQ(pic.pixel(60, 20), test::rgb(185, 80, 80)) << "the string lies on the rail";
    EXPECT_EQ(pic.pixel(150, 30), kBlack) << "the rail's step";
    EXPECT_EQ(pic.pixel(500, 40), kBlack) << "the long rail";
    EXPECT_EQ(pic.pixel(60, 35), test::rgb(252, 179, 100)) << "wood below the first rail";
    EXPECT_EQ(pic.pixel(510, 55), test::rgb(252, 179, 100)) << "wood below the long rail";
    EXPECT_EQ(pic.pixel(60, 8), kGrey) << "above the rail stays grey";
}

TEST(LeverStrip, String26HidesItsUnusedLeversAndClosesTheRail) {
    Surface pic(485, kLeverStripHeight);
    auto st = state_with_string(26, 0);
    // With steps at most 8, positions above 8 are drawn in the strip's own grey.
    for (int p = 9; p <= 12; ++p) st.mandal_step(26, p) = 8;
    mandal_at(pic, st);
    for (int i = 9; i <= 12; ++i) {
        const int x = lever_mark_x(i, -8);
        EXPECT_EQ(pic.pixel(x + 5, 30), kGrey) << "position " << i << " is not drawn";
    }
    // The extra rail piece covers the foot of the tilted levers 8..10.
    EXPECT_EQ(pic.pixel(lever_mark_x(9, -8) + 3, 40), kBlack);

    auto other = state_with_string(25, 0);
    mandal_at(pic, other);
    EXPECT_EQ(pic.pixel(lever_mark_x(9, -8) + 3, 40), kGold);
    EXPECT_TRUE(is_tilted(pic, lever_mark_x(9, -8), kGold));
}

TEST(LeverStrip, StepsAboveEightAreGoldEvenOnString26) {
    Surface pic(485, kLeverStripHeight);
    auto st = state_with_string(26, 12);
    mandal_at(pic, st);
    EXPECT_TRUE(is_raised(pic, lever_mark_x(10, -8), kGold));
    EXPECT_TRUE(is_raised(pic, lever_mark_x(8, -8), kRed));
}

}  // namespace
}  // namespace orvena

namespace orvena {
namespace {

TEST(LeverStrip, PictureOfTheStripsForALook) {
    Surface pic(485, kLeverStripHeight);
    QImage sheet(516, 3 * kLeverStripHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    const std::pair<int, int> shown[] = {{1, 0}, {12, 3}, {26, -2}};
    int row = 0;
    for (auto [s, p] : shown) {
        auto st = state_with_string(s, p);
        mandal_at(pic, st);
        for (int y = 0; y < pic.height(); ++y) {
            for (int x = 0; x < pic.width(); ++x)
                sheet.setPixel(x, row * kLeverStripHeight + y, pic.image().pixel(x, y));
        }
        ++row;
    }
    const QString file = QStringLiteral(ORVENA_PROGRAM_DIR "/../test_output/lever_strips.png");
    QDir().mkpath(QFileInfo(file).path());
    EXPECT_TRUE(sheet.save(file));
}

}  // namespace
}  // namespace orvena

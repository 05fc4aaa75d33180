#include <gtest/gtest.h>

#include <tuple>

#include "playing/mandal_at.h"
#include "support/pictures.h"

namespace orvena {
namespace {

using test::rgb;
constexpr QRgb kRed = rgb(255, 0, 0);
constexpr QRgb kBlack = rgb(0, 0, 0);
constexpr QRgb kBlue = rgb(0, 0, 255);
constexpr QRgb kGold = rgb(238, 201, 0);
constexpr QRgb kGrey = rgb(224, 224, 224);

// Lever steps equal to the positions, string s selected with its lever at `position`.
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

// A raised lever is a filled box (its middle is in the mark colour); a lever above the
// current position is a tilted outline (its middle is the strip's grey, its slanted side
// in the mark colour).
bool is_raised(const Surface& pic, int x, QRgb colour) {
    return pic.pixel(x + 2, 30) == colour;
}
bool is_tilted(const Surface& pic, int x, QRgb colour) {
    return pic.pixel(x + 2, 30) == kGrey && pic.pixel(x + 5, 30) == colour;
}

// The strip is as wide as the string's levers need and stands at x -100; under the levers
// lie the rail and the wood, with the string on the rail.
TEST(LeverStrip, WidthFollowsTheStringsLeversAndTheRailLiesUnderThem) {
    Surface pic(485, kLeverStripHeight);
    for (auto [s, width] :
         {std::pair{1, 372}, {2, 404}, {4, 404}, {5, 468}, {7, 468}, {8, 516}, {26, 516}}) {
        auto st = state_with_string(s, 0);
        const LeverStripPlacement placed = mandal_at(pic, st);
        EXPECT_EQ(std::pair(placed.left, placed.width), std::pair(-100, width)) << "string " << s;
        EXPECT_EQ(pic.image().size(), QSize(width, kLeverStripHeight));
    }
    auto st = state_with_string(17, 0);
    mandal_at(pic, st);
    const QRgb wood = rgb(252, 179, 100);
    // The string on the rail, the rail's step, the long rail, wood below both rails, and
    // above the rail the strip's grey.
    const std::tuple<int, int, QRgb> probes[] = {{60, 20, rgb(185, 80, 80)},
                                                 {150, 30, kBlack},
                                                 {500, 40, kBlack},
                                                 {60, 35, wood},
                                                 {510, 55, wood},
                                                 {60, 8, kGrey}};
    for (auto [x, y, colour] : probes) EXPECT_EQ(pic.pixel(x, y), colour) << x << "," << y;
}

// Levers up to the current position are raised, those above it tilted; the lowest is
// black, 0 blue, steps above 8 gold (string 26 too), the rest red.
TEST(LeverStrip, LeversUpToThePositionAreRaisedInTheirColours) {
    const std::tuple<int, int, int> cases[] = {
        {1, 0, -5}, {12, 12, -8}, {12, -8, -8}, {26, 12, -8}};
    for (auto [s, position, lo] : cases) {
        Surface pic(485, kLeverStripHeight);
        auto st = state_with_string(s, position);
        mandal_at(pic, st);
        for (int i = lo; i <= st.mandal_max[s]; ++i) {
            const QRgb colour = i > 8 ? kGold : i == 0 ? kBlue : i == lo ? kBlack : kRed;
            const int x = lever_mark_x(i, lo);
            SCOPED_TRACE(testing::Message() << "string " << s << " lever " << i);
            EXPECT_TRUE(i <= position ? is_raised(pic, x, colour) : is_tilted(pic, x, colour));
        }
    }
}

// Every position number stands under its own lever, apart from its neighbours: no black ink
// in the five columns midway between two levers, and ink on both sides of them.
TEST(LeverStrip, PositionNumbersStandApartUnderTheirLevers) {
    for (auto [s, lo, hi] : {std::tuple{1, -5, 6}, {5, -7, 10}, {12, -8, 12}}) {
        Surface pic(485, kLeverStripHeight);
        auto st = state_with_string(s, 0);
        mandal_at(pic, st);
        const auto ink = [&](int x1, int x2) {  // black in the numbers' band below the rail
            return test::has_colour(pic, QRect(QPoint(x1, 43), QPoint(x2, 58)), kBlack);
        };
        for (int i = lo; i <= hi; ++i) {
            SCOPED_TRACE(testing::Message() << "string " << s << " position " << i);
            const int mark = lever_mark_x(i, lo);  // the lever's foot spans mark..mark+5
            EXPECT_TRUE(ink(mark - 3, mark + 8)) << "no number under the lever";
            if (i < hi) {
                EXPECT_FALSE(ink(mark + 9, mark + 13)) << "runs into the next number";
            }
        }
    }
}

TEST(LeverStrip, String26HidesItsUnusedLeversAndClosesTheRail) {
    Surface pic(485, kLeverStripHeight);
    auto st = state_with_string(26, 0);
    // With steps at most 8, positions above 8 are drawn in the strip's own grey.
    for (int p = 9; p <= 12; ++p) st.mandal_step(26, p) = 8;
    mandal_at(pic, st);
    for (int i = 9; i <= 12; ++i) {
        EXPECT_EQ(pic.pixel(lever_mark_x(i, -8) + 5, 30), kGrey) << "position " << i;
    }
    // The extra rail piece covers the foot of the tilted levers 8..10.
    EXPECT_EQ(pic.pixel(lever_mark_x(9, -8) + 3, 40), kBlack);

    auto other = state_with_string(25, 0);
    mandal_at(pic, other);
    EXPECT_EQ(pic.pixel(lever_mark_x(9, -8) + 3, 40), kGold);
}

}  // namespace
}  // namespace orvena

#include "playing/mandal_at.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/pictures.h"

namespace orvena {
namespace {

using test::rgb;
constexpr QRgb kRed = rgb(255, 0, 0), kBlack = 0, kBlue = rgb(0, 0, 255);
constexpr QRgb kGold = rgb(238, 201, 0), kGrey = rgb(224, 224, 224);

// The strip stands at x -100, as wide as the string's levers need. Levers up to the position
// are raised (a filled box), those above it tilted (an outline: grey middle, slanted side in
// colour); the lowest is black, 0 blue, steps above 8 gold, the rest red. String 26's levers
// 9..12 vanish in the grey unless their steps are above 8, and a piece of rail covers their
// feet. Every position number stands under its lever, apart from its neighbours.
TEST(LeverStrip, ShowsTheSelectedStringsLeversAndTheirNumbers) {
    struct Case {
        int string, lo, hi, position, step_cap, width;
    };
    const Case cases[] = {
        {1, -5, 6, 0, 99, 372},    {2, -5, 8, 8, 99, 404},    {4, -5, 8, -1, 99, 404},
        {5, -7, 10, 3, 99, 468},   {8, -8, 12, 0, 99, 516},   {12, -8, 12, 12, 99, 516},
        {12, -8, 12, -8, 99, 516}, {26, -8, 12, 12, 99, 516}, {26, -8, 12, 0, 8, 516}};
    Surface pic(485, kLeverStripHeight);
    test::ensure_qt_app();
    for (const Case& c : cases) {
        InstrumentState st;
        set_lever_limits(st);
        for (int p = kLeverLo; p <= kLeverHi; ++p)
            st.mandal_step(c.string, p) = static_cast<std::int16_t>(std::min(p, c.step_cap));
        st.cur_string = static_cast<std::int16_t>(c.string);
        st.mandal_pos[c.string] = static_cast<std::int16_t>(c.position);
        const LeverStripPlacement placed = mandal_at(pic, st);
        EXPECT_EQ(std::tuple(placed.left, placed.width, pic.width()),
                  std::tuple(-100, c.width, c.width))
            << "string " << c.string;
        const auto ink = [&](int x1, int x2) {  // black in the numbers' band below the rail
            return test::has_colour(pic, QRect(QPoint(x1, 43), QPoint(x2, 58)), kBlack);
        };
        for (int i = c.lo; i <= c.hi; ++i) {
            SCOPED_TRACE(testing::Message() << "string " << c.string << " lever " << i);
            const int x = 156 + 16 * (i - c.lo);  // the lever's foot spans x..x+5
            const QRgb colour = i > 8 && c.step_cap > 8   ? kGold
                                : i > 8 && c.string == 26 ? kGrey
                                : i == 0                  ? kBlue
                                : i == c.lo               ? kBlack
                                                          : kRed;
            if (i <= c.position) {
                EXPECT_EQ(pic.pixel(x + 2, 30), colour);
            } else {
                EXPECT_EQ(std::pair(pic.pixel(x + 2, 30), pic.pixel(x + 5, 30)),
                          std::pair(kGrey, colour));
            }
            EXPECT_TRUE(ink(x - 3, x + 8)) << "no number under the lever";
            if (i < c.hi) {
                EXPECT_FALSE(ink(x + 9, x + 13)) << "runs into the next number";
            }
        }
        // The foot of a tilted lever 9, or the rail piece over it.
        if (c.position < 9 && c.hi == 12) {
            EXPECT_EQ(pic.pixel(156 + 16 * 17 + 3, 40), c.string == 26 ? kBlack : kGold);
        }
    }
    // The string on the rail, the rail's step, the long rail, wood below both rails, and
    // above the rail the strip's grey.
    const QRgb wood = rgb(252, 179, 100);
    const std::tuple<int, int, QRgb> probes[] = {{60, 20, rgb(185, 80, 80)},
                                                 {150, 30, kBlack},
                                                 {500, 40, kBlack},
                                                 {60, 35, wood},
                                                 {510, 55, wood},
                                                 {60, 8, kGrey}};
    for (auto [x, y, colour] : probes) EXPECT_EQ(pic.pixel(x, y), colour) << x << "," << y;
}

}  // namespace
}  // namespace orvena

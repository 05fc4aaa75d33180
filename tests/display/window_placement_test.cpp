// The main window's client size and place on the screen: the layout's outer size in twips
// (15 to the pixel), rounded to the nearest pixel, less the window system's frame.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "display/layout.h"

namespace orvena {
namespace {

// The twips of left, top, width and height, then the pixels worked out by hand, with a frame
// of 8 × 30 px.
TEST(WindowPlacement, TwipsRoundToPixelsAndTheFrameComesOffTheSize) {
    const std::tuple<double, double, int, int, std::array<int, 4>> rows[] = {
        // A 1280 × 720 screen: 173.33, 46.67, 933.33 − 8, 626.67 − 30.
        {2600, 700, 14000, 9400, {173, 47, 925, 597}},
        // A screen smaller than the window: −66.67, −0.5 rounds away from zero.
        {-1000, -7.5, 14000, 9400, {-67, -1, 925, 597}},
        // 1.5 rounds up, 0.47 down; 100.47 and 100.53 px.
        {22.5, 7, 1507, 1508, {2, 0, 92, 71}},
    };
    for (const auto& [left, top, width, height, expected] : rows) {
        const ClientPlacement p = client_placement({left, top, width, height}, 8, 30);
        EXPECT_EQ((std::array{p.left, p.top, p.width, p.height}), expected) << left;
    }
}

}  // namespace
}  // namespace orvena

// The main window's client size and place on the screen: the layout's outer size in twips
// (15 to the pixel), rounded to the nearest pixel, less the window system's frame.

#include <gtest/gtest.h>

#include <tuple>

#include "display/layout.h"

namespace orvena {
namespace {

TEST(WindowPlacement, TwipsRoundToPixelsAndTheFrameComesOffTheSize) {
    struct Row {
        double left_twips, top_twips;
        int width_twips, height_twips;
        int frame_w, frame_h;
        int left, top, width, height;  // worked out by hand
    };
    const Row rows[] = {
        // A 1280 × 720 screen: 173.33, 46.67, 933.33 − 8, 626.67 − 30.
        {2600, 700, 14000, 9400, 8, 30, 173, 47, 925, 597},
        // A screen smaller than the window: −66.67, −0.5 rounds away from zero.
        {-1000, -7.5, 14000, 9400, 8, 30, -67, -1, 925, 597},
        // 1.5 rounds up, 0.47 down; 100.47 and 100.53 px.
        {22.5, 7, 1507, 1508, 8, 30, 2, 0, 92, 71},
    };
    for (const Row& r : rows) {
        WindowLayout g;
        g.window_left_twips = r.left_twips;
        g.window_top_twips = r.top_twips;
        g.window_width_twips = r.width_twips;
        g.window_height_twips = r.height_twips;
        const ClientPlacement p = client_placement(g, r.frame_w, r.frame_h);
        EXPECT_EQ(std::tuple(p.left, p.top, p.width, p.height),
                  std::tuple(r.left, r.top, r.width, r.height))
            << r.left_twips;
    }
}

}  // namespace
}  // namespace orvena

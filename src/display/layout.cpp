#include "display/layout.h"

#include <cmath>

#include "tuning/rounding.h"

namespace orvena {

const char* const kLabel36Caption =
    "^  1 tel yukarı \r\n"
    " <-- mandal indir                    mandal kaldır -->\r\n"
    "v  1 tel aşağı";

WindowLayout arayüzyerleşimi_geometry(double screen_width_twips, double screen_height_twips,
                                      const DesignSizes& d) {
    WindowLayout g;
    g.window_width_twips = 14000;
    g.window_height_twips = 9400;
    g.window_left_twips = (screen_width_twips - g.window_width_twips) / 2;
    g.window_top_twips = (screen_height_twips - g.window_height_twips) / 2;

    const double window_width_px = static_cast<double>(g.window_width_twips) / kTwipsPerPixel;
    g.Picture2 = {(window_width_px - 904) / 2 - 4, 63, 904, 420};

    g.Picture1 = {-130, 0, 485, 60};
    g.Picture3 = {0, 160, 140, 132};
    g.Picture6 = {0, 60, 239, 100};
    g.Picture5 = {239, 60, 57, 100};
    g.Picture10 = {808, 19, 90, 396};
    g.Frame11 = {861, -6, d.Frame11_w, d.Frame11_h};
    // Bottom left, just above the slanted-edge number of string 26 (from y 393), which it
    // would otherwise cover.
    g.Check1 = {2, 377, d.Check1_w, d.Check1_h};

    g.Label36.width = 217;
    g.Label36.height = 44;

    g.top_gap = to_int16(
        (g.Picture2.width - (g.Label36.width + d.Frame3_w + d.Frame7_w + d.Frame10_w)) / 3.0);
    g.Frame3 = {12, 4, d.Frame3_w, d.Frame3_h};
    g.Label36.left = g.Frame3.left + g.Frame3.width + g.top_gap;
    g.Label36.top = 10;
    g.Frame7 = {g.Label36.left + g.Label36.width + g.top_gap, 4, d.Frame7_w, d.Frame7_h};
    g.Frame10 = {g.Frame7.left + g.Frame7.width + g.top_gap, 4, d.Frame10_w, d.Frame10_h};

    g.File2 = {350, 150, 150, 200};
    g.File3 = {520, 150, 150, 200};

    g.bottom_gap =
        to_int16((g.Picture2.width - (d.Frame4_w + d.Frame1_w + d.Frame5_w + d.Frame2_w)) / 3.0);
    g.Frame4 = {g.Picture2.left, 490, d.Frame4_w, d.Frame4_h};
    g.Frame1 = {g.Frame4.left + g.Frame4.width + g.bottom_gap, 490, d.Frame1_w, d.Frame1_h};
    g.Frame5 = {g.Frame1.left + g.Frame1.width + g.bottom_gap, 490, d.Frame5_w, d.Frame5_h};
    g.Frame2 = {g.Frame5.left + g.Frame5.width + g.bottom_gap, 490, d.Frame2_w, d.Frame2_h};
    return g;
}

namespace {
int twips_to_pixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
}  // namespace

ClientPlacement client_placement(const WindowLayout& g, int frame_width, int frame_height) {
    return {twips_to_pixels(g.window_left_twips), twips_to_pixels(g.window_top_twips),
            twips_to_pixels(g.window_width_twips) - frame_width,
            twips_to_pixels(g.window_height_twips) - frame_height};
}

}  // namespace orvena

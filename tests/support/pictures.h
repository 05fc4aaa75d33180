#pragma once
// Pictures in tests: colours (0xRRGGBB, as a surface's pixel() gives them) counted in a
// rectangle, and differences from an expected picture.

#include <QImage>
#include <QRect>

#include <string>

#include "support/qt_app.h"
#include "support/text.h"

namespace orvena::test {

// Pixels of r (inclusive corners) in the colour; Picture is anything with pixel(x, y).
template <typename Picture>
int count_colour(const Picture& pic, QRect r, unsigned colour) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += pic.pixel(x, y) == colour;
    return n;
}
template <typename Picture>
bool has_colour(const Picture& pic, QRect r, unsigned colour) {
    return count_colour(pic, r, colour) > 0;
}
template <typename Picture>
int count_colour(const Picture& pic, unsigned colour) {
    return count_colour(pic, QRect(0, 0, pic.width(), pic.height()), colour);
}

// "" when pic shows exactly the picture expected, else how many pixels differ and the first.
template <typename Picture>
std::string differences(const Picture& pic, const QImage& expected) {
    int wrong = 0;
    std::string first;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (pic.pixel(x, y) != (expected.pixel(x, y) & 0xFFFFFFu) && wrong++ == 0)
                first = " pixels differ, first at " + std::to_string(x) + "," + std::to_string(y);
    return wrong == 0 ? "" : std::to_string(wrong) + first;
}

}  // namespace orvena::test

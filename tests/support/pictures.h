#pragma once
// Looking at pictures in tests: colours as a surface's pixel() gives them, counting and
// finding colours in a rectangle, and PNG dumps of pictures for a person to look at (written only
// when ORVENA_TEST_PICTURES names a folder, never checked).

#include <QImage>
#include <QRect>

#include <string>

#include "support/qt_app.h"
#include "support/text.h"

namespace orvena::test {

// Pixels of r (inclusive corners) in the given 0xRRGGBB colour; Picture is a Surface or
// anything else with pixel(x, y) in that form.
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

// Writes name.png and an enlarged name_xN.png into the folder ORVENA_TEST_PICTURES names;
// does nothing when it is unset.
void dump_picture(const std::string& name, const QImage& picture, int enlarge = 4);

}  // namespace orvena::test

#pragma once
// Pictures in tests: colours (0xRRGGBB, as a surface's pixel() gives them) counted in a
// rectangle, differences from an expected picture, and PNG dumps for a person to look at.

#include <QDir>
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

// Writes name.png and an enlarged name_xN.png into the folder ORVENA_TEST_PICTURES names.
inline void dump_picture(const std::string& name, const QImage& picture, int enlarge = 4) {
    const QString folder = qEnvironmentVariable("ORVENA_TEST_PICTURES");
    if (folder.isEmpty() || !QDir().mkpath(folder)) return;
    const QString base = folder + "/" + QString::fromStdString(name);
    picture.save(base + ".png");
    picture.scaled(picture.size() * enlarge).save(base + "_x" + QString::number(enlarge) + ".png");
}

}  // namespace orvena::test

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <set>
#include <vector>

#include "surface/artwork.h"
#include "surface/surface.h"

namespace orvena {
namespace {

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kRed = 0xFF0000;

QRgb at(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFFu;
}

// The cell of a lever step (-12..-1 top row, +1..+12 bottom row).
QRect sign_cell(int step) {
    const int c = step < 0 ? step + 12 : step - 1;
    return {30 * c + 9, step < 0 ? 1 : 31, 19, 24};
}

std::vector<QRect> copied_rects() {
    std::vector<QRect> rects{QRect(362, 1, 115, 47), QRect(479, 1, 10, 7)};
    for (int step = -12; step <= 12; ++step) {
        if (step != 0) rects.push_back(sign_cell(step));
    }
    return rects;
}

int ink(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += at(img, x, y) == kBlack;
    return n;
}

TEST(NotationSheet, GlyphsInkInsideTheirRectanglesAndTheGridOutside) {
    const QImage sheet = notation_sheet();
    ASSERT_EQ(sheet.size(), QSize(490, 56));
    const auto rects = copied_rects();
    int red = 0;
    for (int y = 0; y < 56; ++y) {
        for (int x = 0; x < 490; ++x) {
            const QRgb p = at(sheet, x, y);
            ASSERT_TRUE(p == kBlack || p == kWhite || p == kRed) << x << "," << y;
            bool inside = false;
            for (const QRect& r : rects) inside = inside || r.contains(x, y);
            if (p == kRed) {
                ++red;
                EXPECT_FALSE(inside) << "grid inside a glyph at " << x << "," << y;
            }
            if (p == kBlack) {
                EXPECT_TRUE(inside) << "ink outside the glyphs at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(red, 12 * 56);  // the grid is there
    EXPECT_EQ(at(sheet, 29, 40), kRed);
    EXPECT_EQ(at(sheet, 100, 25), kRed);

    for (int step = -12; step <= 12; ++step) {
        if (step == 0) continue;
        EXPECT_GT(ink(sheet, sign_cell(step)), 15) << "step " << step;
    }
    EXPECT_GT(ink(sheet, QRect(479, 1, 10, 7)), 25);  // an open oval, not a dot
    EXPECT_LT(ink(sheet, QRect(479, 1, 10, 7)), 70);  // open, not filled
}

TEST(NotationSheet, StaffLinesOnTheirRowsAndClefAtTheLeft) {
    const QImage sheet = notation_sheet();
    for (int row : {14, 20, 26, 32, 38})
        for (int x = 362; x <= 476; ++x) ASSERT_EQ(at(sheet, x, row), kBlack) << x << "," << row;
    for (int row = 1; row <= 47; ++row) {
        if (row == 14 || row == 20 || row == 26 || row == 32 || row == 38) continue;
        EXPECT_EQ(ink(sheet, QRect(390, row, 87, 1)), 0) << "row " << row;
    }
    // The clef reaches above and below the staff.
    EXPECT_GT(ink(sheet, QRect(362, 1, 25, 12)), 5);
    EXPECT_GT(ink(sheet, QRect(362, 39, 25, 9)), 5);
}

TEST(NotationSheet, EveryStepHasItsOwnSignAndBaseSignsAreShared) {
    const QImage sheet = notation_sheet();
    std::set<QByteArray> distinct;
    for (int step = -12; step <= 12; ++step) {
        if (step == 0) continue;
        const QImage cell = sheet.copy(sign_cell(step));
        distinct.insert(QByteArray(reinterpret_cast<const char*>(cell.constBits()),
                                   static_cast<int>(cell.sizeInBytes())));
    }
    EXPECT_EQ(distinct.size(), 24u);

    // The right part of a cell (the base sign) is the same for every step with that base.
    auto base_part = [&](int step) { return sheet.copy(sign_cell(step).adjusted(9, 0, 0, 0)); };
    for (int step : {-11, -10}) EXPECT_EQ(base_part(step), base_part(-12));
    for (int step : {-9, -8, -7, -5, -4}) EXPECT_EQ(base_part(step), base_part(-6));
    for (int step : {4, 5, 7, 8, 9}) EXPECT_EQ(base_part(step), base_part(6));
    for (int step : {10, 11}) EXPECT_EQ(base_part(step), base_part(12));
    EXPECT_NE(base_part(-6), base_part(6));
    EXPECT_NE(base_part(-12), base_part(-6));
    EXPECT_NE(base_part(12), base_part(6));

    // A lowering modifier is the raising one upside down (the note sits on the cell's middle).
    for (int k = 1; k <= 3; ++k) {
        const QImage up = sheet.copy(sign_cell(k));
        const QImage down = sheet.copy(sign_cell(-k));
        for (int y = 1; y < 24; ++y)
            for (int x = 0; x < 19; ++x)
                ASSERT_EQ(at(down, x, y), at(up, x, 24 - y)) << k << ": " << x << "," << y;
    }
}

TEST(NotationSheet, SignCopiedWithAndPrintsOnlyItsInk) {
    const QImage sheet = notation_sheet();
    Surface staff(140, 132);
    staff.LineBF(0, 40, 139, 40, qRgb(0, 0, 255));  // a blue line through the cell's row
    const QRect cell = sign_cell(6);
    staff.PaintPicture(sheet, 36, 30, cell.width(), cell.height(), cell.x(), cell.y());
    int black = 0;
    for (int y = 30; y < 54; ++y)
        for (int x = 36; x < 55; ++x) {
            const QRgb glyph = at(sheet, cell.x() + x - 36, cell.y() + y - 30);
            const QRgb under = y == 40 ? 0x0000FFu : kWhite;
            EXPECT_EQ(staff.pixel(x, y), glyph == kBlack ? kBlack : under);
            black += staff.pixel(x, y) == kBlack;
        }
    EXPECT_EQ(black, ink(sheet, cell));
}

TEST(TuningPeg, SizeAndSomethingDrawnInEachQuadrant) {
    const QImage peg = tuning_peg();
    ASSERT_EQ(peg.size(), QSize(55, 90));
    const QRgb background = at(peg, 0, 0);
    for (const QRect& q :
         {QRect(0, 0, 22, 40), QRect(34, 0, 21, 40), QRect(0, 50, 22, 40), QRect(34, 50, 21, 40)}) {
        int marked = 0;
        for (int y = q.top(); y <= q.bottom(); ++y)
            for (int x = q.left(); x <= q.right(); ++x) marked += at(peg, x, y) != background;
        EXPECT_GT(marked, 40) << q.x() << "," << q.y();
    }
    // Upper arrows are double: more ink above than below on each side.
    auto marks = [&](const QRect& q) {
        int n = 0;
        for (int y = q.top(); y <= q.bottom(); ++y)
            for (int x = q.left(); x <= q.right(); ++x) n += at(peg, x, y) != background;
        return n;
    };
    EXPECT_GT(marks(QRect(0, 0, 20, 36)), marks(QRect(0, 54, 20, 36)));
    EXPECT_GT(marks(QRect(36, 0, 19, 36)), marks(QRect(36, 54, 19, 36)));
}

TEST(SplashLogo, Loads) {
    const QImage logo = splash_logo();
    ASSERT_EQ(logo.size(), QSize(120, 120));
    EXPECT_NE(at(logo, 60, 50), at(logo, 2, 2));
}

}  // namespace
}  // namespace orvena

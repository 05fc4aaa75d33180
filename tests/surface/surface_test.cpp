#include "surface/surface.h"

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <tuple>
#include <vector>

#include "support/pictures.h"
#include "support/qt_app.h"
#include "support/recording_dialogs.h"
#include "surface/event_pump.h"

namespace orvena {
namespace {

constexpr QRgb kWhite = 0xFFFFFF, kBlack = 0, kRed = 0xFF0000, kBlue = 0x0000FF;
constexpr QRgb kTan = qRgb(230, 220, 180) & 0xFFFFFF;

using test::count_colour;

// Lines include both end points, wide pens grow above and left, boxes take their corners in
// any order, circles ring in ForeColor and fill per FillStyle, a picture is ANDed on. Each case:
// what is drawn, pixels (x, y, colour), colour counts, where the text position ends (-1: any).
TEST(SurfaceDrawing, PixelsLandWhereTheCallsPutThem) {
    // clang-format off
    const std::tuple<const char*, std::function<void(Surface&)>, std::vector<std::tuple<int, int, QRgb>>,
                     std::vector<std::pair<QRgb, int>>, QPointF> cases[] = {
        {"line, then on", [](Surface& s) { s.Line(5, 10, 20, 10), s.LineTo(20, 30, kRed); },
         {{5, 10, kBlack}, {4, 10, kWhite}, {21, 10, kWhite}, {12, 9, kWhite}, {20, 10, kRed}},
         {{kBlack, 15}, {kRed, 21}}, {20, 30}},
        {"pen width 2, straight and slanted",
         [](Surface& s) { s.DrawWidth = 2, s.Line(10, 20, 30, 20), s.Line(10, 10, 12, 12); },
         {{9, 19, kBlack}, {9, 21, kWhite}, {30, 19, kBlack}, {31, 20, kWhite}, {9, 9, kBlack},
          {12, 12, kBlack}, {13, 13, kWhite}, {9, 12, kWhite}}, {}, {-1, -1}},
        {"boxes", [](Surface& s) { s.FillStyle = 0, s.FillColor = kRed, s.LineB(10, 10, 30, 38),
                                   s.LineBF(36, 20, 33, 5, kBlue); },
         {{10, 10, kBlack}, {30, 38, kBlack}, {30, 10, kBlack}, {20, 25, kWhite}, {33, 5, kBlue},
          {37, 20, kWhite}}, {{kBlue, 4 * 16}}, {33, 5}},
        {"circles",
         [](Surface& s) {
             s.ForeColor = kBlue, s.FillColor = kRed;
             s.FillStyle = 1, s.Circle(8, 8, 3);
             s.FillStyle = 0, s.Circle(20, 20, 3);
         },
         {{11, 8, kBlue}, {5, 8, kBlue}, {8, 5, kBlue}, {8, 11, kBlue}, {8, 8, kWhite},
          {12, 8, kWhite}, {20, 20, kRed}, {22, 21, kRed}, {23, 20, kBlue}},
         {{kBlue, 2 * 16}, {kRed, 37 - 16}}, {20, 20}},
        // White leaves the surface, black prints black, red AND cyan is black; what hangs over
        // the surface's or the source's edges is left out.
        {"picture", [](Surface& s) {
             s.LineBF(0, 0, 39, 39, qRgb(0, 0xC0, 0xFF));
             QImage src(4, 1, QImage::Format_RGB32);
             const QRgb row[] = {0xFFFFFFFF, 0xFF000000, 0xFFFF0000, 0xFF808080};
             for (int x = 0; x < 4; ++x) src.setPixel(x, 0, row[x]);
             s.PaintPicture(src, 5, 3, 4, 1, 0, 0);
             s.PaintPicture(src, 38, 39, 4, 3, 0, 0);
             s.PaintPicture(src, 0, 0, 6, 1, 2, 0);
         },
         {{5, 3, 0x00C0FF}, {6, 3, kBlack}, {7, 3, kBlack}, {8, 3, 0x008080}, {39, 39, kBlack},
          {0, 0, kBlack}, {2, 0, 0x00C0FF}}, {}, {-1, -1}},
    };
    // clang-format on
    for (const auto& [what, draw, pixels, counts, end] : cases) {
        SCOPED_TRACE(what);
        Surface s(40, 40);
        draw(s);
        for (auto [x, y, colour] : pixels) EXPECT_EQ(s.pixel(x, y), colour) << x << "," << y;
        for (auto [colour, n] : counts) EXPECT_EQ(count_colour(s, colour), n) << colour;
        EXPECT_TRUE(end.x() < 0 || QPointF(s.CurrentX, s.CurrentY) == end)
            << s.CurrentX << "," << s.CurrentY;
    }
}

// The fill covers the region around the seed up to black pixels (nearly black ones do not
// stop it, a diagonal staircase does not leak); a seed on black or outside does nothing.
TEST(SurfaceFloodFill, FillsTheRegionAroundTheSeedUpToBlack) {
    const auto box = [](Surface& s) { s.LineB(10, 10, 40, 30); };
    const auto corner = [](Surface& s) { s.Line(0, 29, 29, 0); };
    const auto nearly_black = [](Surface& s) { s.Line(0, 10, 79, 10, qRgb(0, 0, 1)); };
    const std::tuple<const char*, std::function<void(Surface&)>, QPoint, int> cases[] = {
        {"box", box, {20, 20}, 29 * 19},
        {"nearly black line", nearly_black, {5, 5}, 80 * 80},
        {"corner triangle", corner, {3, 3}, 435},
        {"seed on black", box, {10, 12}, 0},
        {"seed left of the picture", box, {-1, 3}, 0},
        {"seed below the picture", box, {3, 80}, 0}};
    for (const auto& [what, draw, seed, filled] : cases) {
        SCOPED_TRACE(what);
        Surface s(80, 80);
        draw(s);
        s.FillColor = kTan;
        s.ExtFloodFill(seed.x(), seed.y());
        EXPECT_EQ(count_colour(s, kTan), filled);
    }
}

// Numbers print in their sign slot with a trailing space, items follow each other (the second
// of two equal items as far from the first as the first from the start) and a line end goes
// to the next text line; ink stays inside the text line, in the exact colour.
TEST(SurfacePrint, ItemsFollowEachOtherOnTextLinesOfTheFontsHeight) {
    test::ensure_qt_app();  // the font database
    Surface s(200, 60);
    s.FontSize = 8;
    const int small = s.TextHeight();
    s.FontSize = 12;
    const int large = s.TextHeight();
    EXPECT_TRUE(small >= 12 && small <= 14 && large >= 16 && large <= 19) << small << " " << large;
    s.ForeColor = kRed;
    s.CurrentX = 10, s.CurrentY = 5;
    s.PrintNumber(3, false), s.PrintNumber(3, false), s.PrintNumber(-3);
    const auto& log = s.print_log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(std::tuple(log[0].text, log[1].text, log[2].text), std::tuple(" 3 ", " 3 ", "-3 "));
    EXPECT_TRUE(log[1].x > 10 && log[2].x - log[1].x == log[1].x - 10) << log[1].x;
    EXPECT_EQ(std::tuple(log[2].y, log[2].colour, log[2].font_size), std::tuple(5, kRed, 12));
    EXPECT_EQ(QPointF(s.CurrentX, s.CurrentY), QPointF(0, 5 + large));  // the line ended
    const int red = count_colour(s, kRed);
    EXPECT_TRUE(red > 20 && red + count_colour(s, kWhite) == 200 * 60) << red;
    EXPECT_EQ(count_colour(s, QRect(10, 5, 190, large), kRed), red);  // inside the text line
}

TEST(ClockWait, EndsAtTheFirstWholeMillisecondAfterTheDeadline) {
    test::RecordingClock clock;
    clock.now = 10.0;
    clock.sleep_until_ms(12.25);
    EXPECT_EQ(clock.now, 13.0);
    clock.sleep_until_ms(5.0);  // already past: no wait
    EXPECT_EQ(clock.now, 13.0);
}

// A key the window system queued waits through a pass that leaves input out (the window repaints
// while a note sounds) and is handled in the next full pass, as a stop clicked during a replay.
TEST(EventPump, QueuedInputWaitsForTheNextFullPass) {
    test::ensure_qt_app();
    QLineEdit field;
    field.show();
    field.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&field));
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        field.windowHandle(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QtEventPump pump;
    pump.process_non_input();
    EXPECT_EQ(field.text(), "");
    pump.process_pending();
    EXPECT_EQ(field.text(), "a");
}

}  // namespace
}  // namespace orvena

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "support/pictures.h"
#include "support/recording_dialogs.h"
#include "surface/surface.h"

namespace orvena {
namespace {

// Text needs a GUI application (font database); the widgets of this folder need a full one.
class QtAppEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { test::ensure_qt_app(); }
};
const auto* const kAppEnv = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kTan = qRgb(230, 220, 180) & 0xFFFFFF;

using test::count_colour;

struct Px {
    int x, y;
    QRgb colour;
};

// Lines include both end points, wide pens grow above and left, boxes take their corners in
// any order, circles ring in ForeColor and fill per FillStyle; a resize keeps what was drawn.
// Each case: what is drawn, pixels that must hold a colour, colour counts, the text position.
TEST(SurfaceDrawing, PixelsLandWhereTheCallsPutThem) {
    struct Case {
        const char* what;
        std::function<void(Surface&)> draw;
        std::vector<Px> pixels;
        std::vector<std::pair<QRgb, int>> counts;
        QPointF end{-1, -1};
    };
    // clang-format off
    const Case cases[] = {
        {"thin line", [](Surface& s) { s.Line(5, 10, 20, 10); },
         {{5, 10, kBlack}, {20, 10, kBlack}, {4, 10, kWhite}, {21, 10, kWhite}, {12, 9, kWhite}},
         {{kBlack, 16}}, {20, 10}},
        {"line on from the text position",
         [](Surface& s) { s.Line(5, 10, 20, 10), s.LineTo(20, 30, kRed); },
         {{20, 10, kRed}, {20, 11, kRed}, {20, 30, kRed}}, {}, {20, 30}},
        {"pen width 2", [](Surface& s) { s.DrawWidth = 2, s.Line(10, 20, 30, 20); },
         {{9, 19, kBlack}, {9, 20, kBlack}, {9, 21, kWhite}, {30, 19, kBlack}, {30, 21, kWhite},
          {31, 20, kWhite}}},
        {"slanted, pen width 2", [](Surface& s) { s.DrawWidth = 2, s.Line(10, 10, 12, 12); },
         {{9, 9, kBlack}, {12, 12, kBlack}, {13, 13, kWhite}, {9, 12, kWhite}}},
        {"pen width 4", [](Surface& s) { s.DrawWidth = 4, s.Line(5, 30, 5, 35, kBlue); },
         {{2, 33, kWhite}, {3, 33, kBlue}, {6, 33, kBlue}, {7, 33, kWhite}}, {{kBlue, 4 * 9}}},
        {"outline box", [](Surface& s) { s.FillStyle = 0, s.FillColor = kRed, s.LineB(10, 10, 30, 38); },
         {{10, 10, kBlack}, {30, 38, kBlack}, {30, 10, kBlack}, {20, 25, kWhite}}, {}, {30, 38}},
        {"filled box", [](Surface& s) { s.LineBF(36, 20, 33, 5, kBlue); },
         {{33, 5, kBlue}, {36, 20, kBlue}, {37, 20, kWhite}}, {{kBlue, 4 * 16}}, {33, 5}},
        {"circles",
         [](Surface& s) {
             s.ForeColor = kBlue, s.FillColor = kRed;
             s.FillStyle = 1, s.Circle(8, 8, 3);
             s.FillStyle = 0, s.Circle(20, 20, 3);
         },
         {{11, 8, kBlue}, {5, 8, kBlue}, {8, 5, kBlue}, {8, 11, kBlue}, {8, 8, kWhite},
          {12, 8, kWhite}, {20, 20, kRed}, {22, 21, kRed}, {23, 20, kBlue}},
         {{kBlue, 2 * 16}, {kRed, 37 - 16}}, {20, 20}},
        {"resize", [](Surface& s) { s.Line(0, 0, 19, 0), s.Resize(60, 42), s.Resize(41, 4); },
         {{19, 0, kBlack}, {20, 0, kWhite}, {40, 3, kWhite}}, {{kBlack, 20}, {kWhite, 41 * 4 - 20}}},
        // A picture ANDed on: white leaves the surface, black prints black, red AND cyan is
        // black; what hangs over the surface's or the source's edges is left out.
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
          {0, 0, kBlack}, {2, 0, 0x00C0FF}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface s(40, 40);
        c.draw(s);
        for (const Px& p : c.pixels) EXPECT_EQ(s.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
        for (auto [colour, n] : c.counts)
            EXPECT_EQ(count_colour(s, colour), n) << std::hex << colour;
        if (c.end.x() >= 0) {
            EXPECT_EQ(QPointF(s.CurrentX, s.CurrentY), c.end);
        }
    }
    // A slanted wide line and a circle ink without blending.
    Surface s(60, 60);
    s.DrawWidth = 2;
    s.Line(3, 50, 55, 7);
    s.DrawWidth = 1;
    s.Circle(30, 30, 9);
    EXPECT_GT(count_colour(s, kBlack), 100);
    EXPECT_EQ(count_colour(s, kBlack) + count_colour(s, kWhite), 60 * 60);
}

// The fill covers the region around the seed up to black pixels (nearly black ones do
// not stop it, diagonal lines and corner-touching staircases do not leak); a seed on black
// or outside does nothing.
TEST(SurfaceFloodFill, FillsTheRegionAroundTheSeedUpToBlack) {
    const auto box = [](Surface& s) { s.LineB(10, 10, 40, 30); };
    const auto slants = [](Surface& s) {
        s.Line(0, 79, 79, 0);
        for (int i = 0; i < 30; ++i) s.Line(i, 29 - i, i, 29 - i);  // the corner of (0..29)
    };
    struct Case {
        const char* what;
        std::function<void(Surface&)> draw;
        QPoint seed;
        int filled;
        std::vector<QPoint> inside, outside;
    };
    // clang-format off
    const Case cases[] = {
        {"box", box, {20, 20}, 29 * 19, {{11, 11}, {39, 29}}, {{10, 20}, {9, 20}, {50, 35}}},
        {"nearly black line", [](Surface& s) { s.Line(0, 10, 79, 10, qRgb(0, 0, 1)); }, {5, 5},
         80 * 80, {}, {}},
        {"corner triangle", slants, {3, 3}, 29 * 30 / 2, {{0, 0}, {14, 14}}, {{15, 15}, {60, 60}}},
        {"beyond the slanted line", slants, {70, 70}, 79 * 80 / 2, {{79, 79}, {40, 40}},
         {{30, 30}, {0, 0}}},
        {"seed on black", box, {10, 12}, 0, {}, {}},
        {"seed left of the picture", box, {-1, 3}, 0, {}, {}},
        {"seed below the picture", box, {3, 80}, 0, {}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface s(80, 80);
        c.draw(s);
        const QImage before = s.image().copy();
        s.FillColor = kTan;
        s.ExtFloodFill(c.seed.x(), c.seed.y());
        EXPECT_EQ(count_colour(s, kTan), c.filled);
        for (QPoint p : c.inside) EXPECT_EQ(s.pixel(p.x(), p.y()), kTan) << p.x() << "," << p.y();
        for (QPoint p : c.outside) EXPECT_EQ(s.pixel(p.x(), p.y()), before.pixel(p) & 0xFFFFFFu);
    }
}

// Numbers print in their sign slot with a trailing space, items follow each other and a
// line end goes to the next text line; ink stays inside the text line, in the exact colour.
TEST(SurfacePrint, ItemsFollowEachOtherOnTextLinesOfTheFontsHeight) {
    Surface s(200, 60);
    s.FontSize = 8;
    const int small = s.TextHeight();
    s.FontSize = 12;
    const int large = s.TextHeight();
    EXPECT_TRUE(small >= 12 && small <= 14) << small;
    EXPECT_TRUE(large >= 16 && large <= 19) << large;
    s.ForeColor = kRed;
    s.CurrentX = 10;
    s.CurrentY = 5;
    s.PrintNumber(3, false);
    s.PrintNumber(-3, false);
    s.Print("Hz");
    const auto& log = s.print_log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(std::tuple(log[0].text, log[1].text, log[2].text), std::tuple(" 3 ", "-3 ", "Hz"));
    EXPECT_DOUBLE_EQ(log[1].x, 10 + s.TextWidth(" 3 "));
    EXPECT_DOUBLE_EQ(log[2].x, log[1].x + s.TextWidth("-3 "));
    EXPECT_EQ(std::tuple(log[2].y, log[2].colour, log[2].bold, log[2].font_size),
              std::tuple(5, kRed, false, 12));
    EXPECT_EQ(QPointF(s.CurrentX, s.CurrentY), QPointF(0, 5 + large));  // the line ended
    const int red = count_colour(s, kRed);
    EXPECT_GT(red, 20);
    EXPECT_EQ(red + count_colour(s, kWhite), 200 * 60);
    EXPECT_EQ(count_colour(s, QRect(0, 0, 200, 5), kRed), 0);
    EXPECT_EQ(count_colour(s, QRect(0, 0, 10, 60), kRed), 0);
    EXPECT_EQ(count_colour(s, QRect(0, 5 + large, 200, 55 - large), kRed), 0);
}

// Cls goes back to the background picture (or colour), a refresh reaches the listeners, and
// of changes only the first until the view has caught up.
TEST(SurfacePicture, ClsRestoresTheBackgroundAndListenersHearRefreshesAndChanges) {
    Surface s(30, 30, kBlue);
    int refreshes = 0, changes = 0;
    const int id = s.add_listener([&] { ++refreshes; }, [&] { ++changes; });
    s.Line(0, 5, 29, 5);
    s.PictureFromImage();  // the line becomes part of the background
    s.Line(0, 20, 29, 20, kRed);
    EXPECT_EQ(changes, 1);
    s.Refresh();
    s.CurrentX = 7, s.CurrentY = 9;
    s.Cls();
    EXPECT_EQ(std::tuple(s.pixel(3, 5), s.pixel(3, 20), s.CurrentX, s.CurrentY, changes, refreshes),
              std::tuple(kBlack, kBlue, 0.0, 0.0, 2, 1));
    s.acknowledge_shown();
    s.Resize(32, 30);
    EXPECT_EQ(changes, 3);
    s.remove_listener(id);
    s.ClearPicture();
    s.Refresh();
    EXPECT_EQ(count_colour(s, kBlue), 32 * 30);
    EXPECT_EQ(std::pair(changes, refreshes), std::pair(3, 1));
}

// A wait for a moment between two whole milliseconds never ends before that moment.
TEST(ClockWait, EndsAtTheFirstWholeMillisecondAfterTheDeadline) {
    test::RecordingClock clock;
    clock.now = 10.0;
    clock.sleep_until_ms(12.25);
    EXPECT_EQ(clock.now, 13.0);
    clock.sleep_until_ms(5.0);  // already past: no wait
    EXPECT_EQ(clock.now, 13.0);
}

}  // namespace
}  // namespace orvena

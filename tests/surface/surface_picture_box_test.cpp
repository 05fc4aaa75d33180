#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <tuple>
#include <vector>

#include "surface/picture_box.h"
#include "surface/surface.h"

namespace orvena {
namespace {

using Event = std::tuple<int, int, double, double>;  // buttons, shift keys, x, y

TEST(PictureBox, MouseEventsArriveInSurfacePixelsWithButtonCodes) {
    Surface surface(55, 90);
    PictureBox box(surface);
    std::vector<Event> downs, moves;
    box.on_mouse_down = [&](int b, int s, double x, double y) { downs.emplace_back(b, s, x, y); };
    box.on_mouse_move = [&](int b, int s, double x, double y) { moves.emplace_back(b, s, x, y); };
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(box.size(), QSize(55, 90));

    QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, QPoint(26, 44));
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, QPoint(26, 44));
    QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier, QPoint(27, 45));
    EXPECT_EQ(downs, (std::vector<Event>{{1, 0, 26, 44}, {2, 1, 27, 45}}));
    QMouseEvent drag(QEvent::MouseMove, QPointF(30, 60), box.mapToGlobal(QPointF(30, 60)),
                     Qt::NoButton, Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(&box, &drag);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), Event(2, 2, 30, 60));  // the buttons held
}

TEST(PictureBox, ShowsWhatWasDrawnAndFollowsTheSurfaceSize) {
    Surface surface(40, 30);
    PictureBox box(surface);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    surface.LineBF(0, 0, 39, 29, qRgb(0, 0, 255));
    surface.Resize(60, 30);
    surface.Refresh();
    EXPECT_EQ(box.size(), QSize(60, 30));
    const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = shown.devicePixelRatio();
    EXPECT_EQ(shown.pixel(QPoint(10, 10) * ratio) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(shown.pixel(QPoint(50, 10) * ratio) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(PictureBox, ASurfaceOutlivingItsViewNoLongerCallsIt) {
    Surface surface(10, 10);
    {
        PictureBox box(surface);
        surface.Refresh();
    }
    surface.Line(0, 0, 9, 9);
    surface.Refresh();  // must not reach the destroyed widget
    EXPECT_EQ(surface.pixel(5, 5), 0u);
}

}  // namespace
}  // namespace orvena

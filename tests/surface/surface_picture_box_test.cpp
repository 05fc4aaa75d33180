#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "surface/picture_box.h"
#include "surface/surface.h"

namespace orvena {
namespace {

struct Event {
    int button, shift;
    double x, y;
};

TEST(PictureBox, MouseEventsArriveInSurfacePixelsWithButtonCodes) {
    Surface surface(55, 90);
    PictureBox box(surface);
    std::vector<Event> downs;
    std::vector<Event> moves;
    box.on_mouse_down = [&](int b, int s, double x, double y) { downs.push_back({b, s, x, y}); };
    box.on_mouse_move = [&](int b, int s, double x, double y) { moves.push_back({b, s, x, y}); };
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(box.size(), QSize(55, 90));

    QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, QPoint(26, 44));
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, QPoint(26, 44));
    QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier, QPoint(27, 45));
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_EQ(downs[0].shift, 0);
    EXPECT_EQ(downs[0].x, 26);
    EXPECT_EQ(downs[0].y, 44);
    EXPECT_EQ(downs[1].button, 2);
    EXPECT_EQ(downs[1].shift, 1);
    EXPECT_EQ(downs[1].x, 27);
    EXPECT_EQ(downs[1].y, 45);

    QMouseEvent drag(QEvent::MouseMove, QPointF(30, 60), box.mapToGlobal(QPointF(30, 60)),
                     Qt::NoButton, Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(&box, &drag);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().button, 2);  // the buttons held
    EXPECT_EQ(moves.back().shift, 2);
    EXPECT_EQ(moves.back().x, 30);
    EXPECT_EQ(moves.back().y, 60);
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

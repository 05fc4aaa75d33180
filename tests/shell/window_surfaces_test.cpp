// The window's own picture surfaces as the user sees them: the information panel's colour
// before and after a string is chosen, and lever numbers that leave nothing behind outside
// the boxes they are written and erased in.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QRegion>

#include <string>

#include "display/diyagonal.h"
#include "started_window.h"
#include "support/pictures.h"

namespace orvena {
namespace {

constexpr QRgb kPeach = 0xFFE0C0, kBlack = 0x000000;

using WindowSurfaces = test::StartedWindow;

TEST_F(WindowSurfaces, InformationPanelIsPeachBeforeAndAfterAStringIsChosen) {
    const Surface& panel = w_->surface(6);
    for (const QPoint p : {QPoint(0, 0), QPoint(120, 50), QPoint(238, 99)})
        EXPECT_EQ(panel.pixel(p.x(), p.y()), kPeach) << "before any string, at " << p.x();

    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(w_, &up);
    ASSERT_FALSE(panel.print_log().empty()) << "the panel was written";
    EXPECT_EQ(panel.pixel(238, 99), kPeach) << "the panel clears to its own colour";
}

TEST_F(WindowSurfaces, LegendLeverNumbersAreErasedWithoutATrace) {
    Surface& legend = w_->surface(10);
    const QImage untouched = legend.image().copy();
    for (int s : {1, 13, 26}) {
        for (int pos = kLeverLo; pos <= kLeverHi; ++pos) {
            w_->st.settings.mandal_pos[s] = static_cast<std::int16_t>(pos);
            w_->views->arıza_yaz(s);
            w_->st.settings.mandal_pos[s] = 0;
            w_->views->arıza_yaz(s);
            ASSERT_EQ(test::differences(legend, untouched), "")
                << "string " << s << " after position " << pos;
        }
    }
}

TEST_F(WindowSurfaces, SlantedEdgeNumbersStayInTheirBoxesAndSpareTheOutline) {
    Surface& instrument = w_->surface(2);
    const QImage untouched = instrument.image().copy();
    QRegion boxes;  // where the 26 diagonal numbers are written
    for (int n = 1; n <= kStringCount; ++n) boxes += diagonal_box(n);
    w_->Check1->click();
    for (int pos : {12, -8, 9}) {
        for (int s = 1; s <= kStringCount; ++s)
            w_->st.settings.mandal_pos[s] =
                std::clamp<std::int16_t>(static_cast<std::int16_t>(pos), w_->st.build.mandal_min[s],
                                         w_->st.build.mandal_max[s]);
        w_->views->diyagonal_yaz();
        for (int y = 0; y < instrument.height(); ++y) {
            for (int x = 0; x < instrument.width(); ++x) {
                const QRgb was = untouched.pixel(x, y) & 0xFFFFFFu;
                if (was == kBlack) {
                    ASSERT_EQ(instrument.pixel(x, y), kBlack)
                        << "outline nicked at " << x << "," << y << " by " << pos;
                } else if (!boxes.contains(QPoint(x, y))) {
                    ASSERT_EQ(instrument.pixel(x, y), was)
                        << "drawn outside the boxes at " << x << "," << y << " by " << pos;
                }
            }
        }
    }
    w_->Check1->click();
    EXPECT_EQ(test::differences(instrument, untouched), "") << "cleared boxes";
}

// Every slanted-edge number can be read in the window: no control on the drawing (the check
// box at its bottom left among them) covers a pixel of one.
TEST_F(WindowSurfaces, NothingOnTheDrawingCoversASlantedEdgeNumber) {
    for (int s = 1; s <= kStringCount; ++s)
        w_->st.settings.mandal_pos[s] = w_->st.build.mandal_min[s];
    w_->Check1->setValue(1);
    const QImage shown = w_->Picture2->grab().toImage();
    for (int n = 1; n <= kStringCount; ++n) {
        const QRgb ink = n <= 7 ? 0xC0C000u : 0xCE1E0Au;  // olive, else red-brown
        const int printed = test::count_colour(w_->surface(2), diagonal_box(n), ink);
        EXPECT_GT(printed, 0);
        EXPECT_EQ(test::count_colour(shown, diagonal_box(n), 0xFF000000u | ink), printed) << n;
    }
}

}  // namespace
}  // namespace orvena

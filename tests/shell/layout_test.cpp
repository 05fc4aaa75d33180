// The main window as it is built: every group in its place, the drawing centred in a window
// centred on the screen, and the slanted-edge lever numbers written and erased inside their
// boxes and covered by no control.

#include <gtest/gtest.h>

#include <QRegion>

#include "display/diyagonal.h"
#include "shell/arayuz.h"
#include "shell/layout.h"
#include "started_window.h"
#include "support/pictures.h"

namespace orvena {
namespace {

TEST(Layout, WidgetsStandWhereTheLayoutPutsThem) {
    test::ensure_qt_app();
    test::RecordingDialogs dialogs;
    arayüz w(dialogs);
    w.arayüzyerleşimi(1024 * 15.0, 768 * 15.0);
    const std::pair<QWidget*, QRect> placed[] = {
        {w.Picture2, {11, 63, 904, 420}}, {w.Picture10, {808, 19, 90, 396}},
        {w.Picture1, {-130, 0, 485, 60}}, {w.Picture3, {0, 160, 140, 132}},
        {w.Picture6, {0, 60, 239, 100}},  {w.Picture5, {239, 60, 57, 100}},
        {w.Label36, {366, 10, 217, 44}},  {w.Frame3, {12, 4, 337, 52}},
        {w.Frame7, {600, 4, 65, 52}},     {w.Frame10, {682, 4, 233, 49}},
        {w.Frame4, {11, 490, 129, 100}},  {w.Frame1, {158, 490, 169, 100}},
        {w.Frame5, {345, 490, 233, 100}}, {w.Frame2, {596, 490, 320, 100}},
        {w.File2, {350, 150, 150, 200}},  {w.File3, {520, 150, 150, 200}},
    };
    for (const auto& [widget, rect] : placed)
        EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString();
    EXPECT_EQ(w.Picture10->parentWidget(), w.Picture2);
    EXPECT_EQ(std::pair(w.Frame11->pos(), w.Check1->pos()),
              std::pair(QPoint(861, -6), QPoint(2, 377)));
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(45, 71));
    // On another screen the window is centred; the drawing's place in it does not change.
    const WindowLayout wide = arayüzyerleşimi_geometry(1920 * 15.0, 1080 * 15.0);
    EXPECT_EQ(std::pair(wide.window_left_twips, wide.window_top_twips),
              std::pair((28800 - 14000) / 2.0, (16200 - 9400) / 2.0));
    EXPECT_NEAR(wide.Picture2.left, 10.667, 0.001);

    EXPECT_EQ(w.windowTitle(), QStringLiteral("O R V E N A"));
    EXPECT_EQ(w.Label36->text(),
              QString::fromUtf8("^  1 tel yukarı \n <-- mandal indir                    "
                                "mandal kaldır -->\nv  1 tel aşağı"));
    const ScrollBar& v = *w.VScroll1;
    EXPECT_EQ(std::tuple(v.minimum(), v.maximum(), v.singleStep(), v.pageStep()),
              std::tuple(30, 60, 2, 5));
    EXPECT_EQ(std::pair(w.HScroll1->minimum(), w.HScroll1->maximum()), std::pair(-8, 12));
}

constexpr QRgb kBlack = 0x000000;

using WindowSurfaces = test::StartedWindow;

TEST_F(WindowSurfaces, SlantedEdgeNumbersStayInTheirBoxesAndSpareTheOutline) {
    Surface& instrument = w_->surface(2);
    const QImage untouched = instrument.image().copy();
    QRegion boxes;  // where the 26 diagonal numbers are written
    for (int n = 1; n <= kStringCount; ++n) boxes += diagonal_box(n);
    w_->Check1->click();
    for (int pos : {12, -8, 9}) {
        for (int s = 1; s <= kStringCount; ++s)
            w_->st.mandal_pos[s] = std::clamp<std::int16_t>(
                static_cast<std::int16_t>(pos), w_->st.mandal_min[s], w_->st.mandal_max[s]);
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
    for (int s = 1; s <= kStringCount; ++s) w_->st.mandal_pos[s] = w_->st.mandal_min[s];
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

// The window layout: the two rows of groups spread over the drawing's width, the drawing
// centred in a window centred on the screen.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>

#include "shell/arayuz.h"
#include "shell/layout.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

constexpr double kScreenW = 1024 * 15.0;
constexpr double kScreenH = 768 * 15.0;

TEST(Layout, WidgetsStandWhereTheLayoutPutsThem) {
    test::ensure_qt_app();
    test::RecordingDialogs dialogs;
    arayüz w(dialogs);
    w.arayüzyerleşimi(kScreenW, kScreenH);
    EXPECT_EQ(w.Picture2->geometry(), QRect(11, 63, 904, 420));
    EXPECT_EQ(w.Picture10->geometry(), QRect(808, 19, 90, 396));
    EXPECT_EQ(w.Picture10->parentWidget(), w.Picture2);
    EXPECT_EQ(w.Picture1->geometry(), QRect(-130, 0, 485, 60));
    EXPECT_EQ(w.Picture3->geometry(), QRect(0, 160, 140, 132));
    EXPECT_EQ(w.Picture6->geometry(), QRect(0, 60, 239, 100));
    EXPECT_EQ(w.Picture5->geometry(), QRect(239, 60, 57, 100));
    EXPECT_EQ(w.Frame11->pos(), QPoint(861, -6));
    EXPECT_EQ(w.Check1->pos(), QPoint(2, 377));
    EXPECT_EQ(w.Label36->geometry(), QRect(366, 10, 217, 44));
    EXPECT_EQ(w.Frame3->geometry(), QRect(12, 4, 337, 52));
    EXPECT_EQ(w.Frame7->geometry(), QRect(600, 4, 65, 52));
    EXPECT_EQ(w.Frame10->geometry(), QRect(682, 4, 233, 49));
    EXPECT_EQ(w.Frame4->geometry(), QRect(11, 490, 129, 100));
    EXPECT_EQ(w.Frame1->geometry(), QRect(158, 490, 169, 100));
    EXPECT_EQ(w.Frame5->geometry(), QRect(345, 490, 233, 100));
    EXPECT_EQ(w.Frame2->geometry(), QRect(596, 490, 320, 100));
    EXPECT_EQ(w.File2->geometry(), QRect(350, 150, 150, 200));
    EXPECT_EQ(w.File3->geometry(), QRect(520, 150, 150, 200));
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(45, 71));
    // On another screen the window is centred; the drawing's place in it does not change.
    const WindowLayout wide = arayüzyerleşimi_geometry(1920 * 15.0, 1080 * 15.0);
    EXPECT_EQ(std::pair(wide.window_left_twips, wide.window_top_twips),
              std::pair((28800 - 14000) / 2.0, (16200 - 9400) / 2.0));
    EXPECT_NEAR(wide.Picture2.left, 10.667, 0.001);
    EXPECT_EQ(w.Label36->text(),
              QString::fromUtf8("^  1 tel yukarı \n <-- mandal indir                    "
                                "mandal kaldır -->\nv  1 tel aşağı"));
}

}  // namespace
}  // namespace orvena

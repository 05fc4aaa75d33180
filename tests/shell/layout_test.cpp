// The window layout: two rows of groups over the drawing's width, the drawing centred in a
// window centred on the screen.

#include "shell/layout.h"
#include "shell/arayuz.h"
#include "started_window.h"

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
    EXPECT_EQ(w.Label36->text(),
              QString::fromUtf8("^  1 tel yukarı \n <-- mandal indir                    "
                                "mandal kaldır -->\nv  1 tel aşağı"));
}

}  // namespace
}  // namespace orvena

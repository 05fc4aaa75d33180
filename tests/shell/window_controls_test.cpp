// Every control of the main window exists under its classic name, in its container, with a
// Turkish accessible name and the caption and state it starts with.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>

#include <tuple>

#include "shell/arayuz.h"
#include "started_window.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

TEST(WindowControls, EveryControlStandsInItsContainerWithItsCaptionAndStartState) {
    test::ensure_qt_app();
    test::RecordingDialogs dialogs;
    arayüz w(dialogs);
    // Each container with the controls it holds, "name=caption" where the user reads one.
    // clang-format off
    const std::pair<const char*, const char*> children[] = {
        {"arayüz", "Picture2|Label36|Frame3|Frame7|Frame10=oktav|Frame4=Makam|"
                   "Frame1=Kaydet / Dinlet|Frame5=Velmora dosyası|Frame2=Ahenkler|File1|File2|"
                   "File3|Picture4|Command1=X"},
        {"Picture2", "Picture1|Picture3|Picture6|Picture5|Picture10|Frame11|Check1"},
        {"Frame11", "Option5_1|Option5_2"},
        {"Frame3", "Check2=detay  göster|Command8=AKORD RESET|Command9=MANDAL RESET|"
                   "Command10=Ç  I  K"},
        {"Frame10", "Option4_1|Option4_2"},
        {"Frame4", "save_buton|open_buton|Text1"},
        {"Frame1", "Frame9=arızalar|Picture9|Picture8|rec_buton=R|Play_buton=>|pause_buton=I I|"
                   "stop_buton=O"},
        {"Frame9", "Option3_1=çalgı|Option3_2=şartlı|Option3_3=dosya"},
        {"Frame5", "Frame8=arızalar|Picture7|VScroll1|Text2|open_ses_buton|aç_kapa_buton=>"},
        {"Frame8", "Option2_1=çalgı|Option2_2=şartlı|Option2_3=dosya"},
        {"Frame2", "Text3|HScroll1|Option1_1=ŞAH|Option1_2=MANSUR|Option1_3=KIZ NEYİ|"
                   "Option1_4=MÜSTAHSEN|Option1_5=SÜPÜRDE|Option1_6=BOLAHENK NIS.|"
                   "Option1_7=DAVUD NIS.|Option1_8=ŞAH NISFİYE"},
    };
    // clang-format on
    for (auto [parent, names] : children) {
        for (const QString& entry : QString::fromUtf8(names).split('|')) {
            const QString name = entry.section('=', 0, 0);
            SCOPED_TRACE(name.toStdString());
            auto* widget = w.findChild<QWidget*>(name);
            ASSERT_NE(widget, nullptr);
            ASSERT_NE(widget->parentWidget(), nullptr);
            EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf8(parent));
            EXPECT_FALSE(widget->accessibleName().isEmpty());
            if (!entry.contains('=')) continue;
            const auto* b = qobject_cast<QAbstractButton*>(widget);
            EXPECT_EQ(b ? b->text() : qobject_cast<QGroupBox*>(widget)->title(),
                      entry.section('=', 1));
        }
    }

    const ScrollBar& v = *w.VScroll1;
    EXPECT_EQ(std::tuple(v.minimum(), v.maximum(), v.singleStep(), v.pageStep()),
              std::tuple(30, 60, 2, 5));
    EXPECT_EQ(std::pair(w.HScroll1->minimum(), w.HScroll1->maximum()), std::pair(-8, 12));
    EXPECT_TRUE(w.File1->isHidden() && w.Picture4->isHidden());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("O R V E N A"));
    EXPECT_EQ(w.surface(1).pixel(0, 0), test::rgb(224, 224, 224));  // the lever strip's grey
}

}  // namespace
}  // namespace orvena

// Every control of the main window exists under its classic name, in its container, with a
// Turkish accessible name and the caption and state it starts with.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>

#include <map>
#include <string>
#include <tuple>

#include "shell/arayuz.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"
#include "surface/artwork.h"

namespace orvena {
namespace {

class WindowControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_app();
        window_ = std::make_unique<arayüz>(dialogs);
    }
    test::RecordingDialogs dialogs;
    std::unique_ptr<arayüz> window_;
    arayüz& w() { return *window_; }
};

TEST_F(WindowControlsTest, EveryControlStandsInItsContainerWithItsCaption) {
    // Each container with the controls it holds.
    const std::pair<const char*, const char*> children[] = {
        {"arayüz",
         "Picture2 Label36 Frame3 Frame7 Frame10 Frame4 Frame1 Frame5 Frame2 File1 File2 File3 "
         "Picture4 Command1"},
        {"Picture2", "Picture1 Picture3 Picture6 Picture5 Picture10 Frame11 Check1"},
        {"Frame11", "Option5_1 Option5_2"},
        {"Frame3", "Check2 Command8 Command9 Command10"},
        {"Frame10", "Option4_1 Option4_2"},
        {"Frame4", "save_buton open_buton Text1"},
        {"Frame1", "Frame9 Picture9 Picture8 rec_buton Play_buton pause_buton stop_buton"},
        {"Frame9", "Option3_1 Option3_2 Option3_3"},
        {"Frame5", "Frame8 Picture7 VScroll1 Text2 open_ses_buton aç_kapa_buton"},
        {"Frame8", "Option2_1 Option2_2 Option2_3"},
        {"Frame2",
         "Text3 HScroll1 Option1_1 Option1_2 Option1_3 Option1_4 Option1_5 Option1_6 Option1_7 "
         "Option1_8"},
    };
    const std::map<std::string, std::string> captions = {
        {"Frame10", "oktav"},
        {"Frame4", "Makam"},
        {"Frame1", "Kaydet / Dinlet"},
        {"Frame5", "Velmora dosyası"},
        {"Frame2", "Ahenkler"},
        {"Command1", "X"},
        {"Check2", "detay  göster"},
        {"Command8", "AKORD RESET"},
        {"Command9", "MANDAL RESET"},
        {"Command10", "Ç  I  K"},
        {"Frame9", "arızalar"},
        {"rec_buton", "R"},
        {"Play_buton", ">"},
        {"pause_buton", "I I"},
        {"stop_buton", "O"},
        {"Option3_1", "çalgı"},
        {"Option3_2", "şartlı"},
        {"Option3_3", "dosya"},
        {"Frame8", "arızalar"},
        {"aç_kapa_buton", ">"},
        {"Option2_1", "çalgı"},
        {"Option2_2", "şartlı"},
        {"Option2_3", "dosya"},
        {"Option1_1", "ŞAH"},
        {"Option1_2", "MANSUR"},
        {"Option1_3", "KIZ NEYİ"},
        {"Option1_4", "MÜSTAHSEN"},
        {"Option1_5", "SÜPÜRDE"},
        {"Option1_6", "BOLAHENK NIS."},
        {"Option1_7", "DAVUD NIS."},
        {"Option1_8", "ŞAH NISFİYE"},
    };
    int checked = 0;
    for (auto [parent, names] : children) {
        for (const QString& name : QString::fromUtf8(names).split(' ')) {
            SCOPED_TRACE(name.toStdString());
            auto* widget = w().findChild<QWidget*>(name);
            ASSERT_NE(widget, nullptr);
            ASSERT_NE(widget->parentWidget(), nullptr);
            EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf8(parent));
            EXPECT_FALSE(widget->accessibleName().isEmpty());
            const auto caption = captions.find(name.toStdString());
            if (caption == captions.end()) continue;
            ++checked;
            const auto* b = qobject_cast<QAbstractButton*>(widget);
            EXPECT_EQ(b ? b->text() : qobject_cast<QGroupBox*>(widget)->title(),
                      QString::fromStdString(caption->second));
        }
    }
    EXPECT_EQ(checked, static_cast<int>(captions.size()));
}

TEST_F(WindowControlsTest, StartStatesOfScrollBarsSelectionsAndPictures) {
    const ScrollBar& v = *w().VScroll1;
    EXPECT_EQ(std::tuple(v.minimum(), v.maximum(), v.singleStep(), v.pageStep()),
              std::tuple(30, 60, 2, 5));
    EXPECT_EQ(std::pair(w().HScroll1->minimum(), w().HScroll1->maximum()), std::pair(-8, 12));
    EXPECT_TRUE(w().File1->isHidden());
    EXPECT_TRUE(w().Picture4->isHidden());
    EXPECT_EQ(w().windowTitle(), QStringLiteral("O R V E N A"));
    // Pictures are the drawing sizes: the drawing code's coordinates are their pixels.
    EXPECT_EQ(w().surface(2).width(), 904);
    EXPECT_EQ(w().surface(10).height(), 396);
    EXPECT_EQ(w().surface(1).pixel(0, 0), test::rgb(224, 224, 224));
    // The notation sheet and the tuning peg are in their pictures.
    EXPECT_EQ(w().surface(4).image().convertToFormat(QImage::Format_RGB32),
              notation_sheet().convertToFormat(QImage::Format_RGB32));
    const QImage peg = tuning_peg().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < peg.height(); y += 7) {
        for (int x = 0; x < peg.width(); x += 5) {
            ASSERT_EQ(w().surface(5).pixel(x, y), peg.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace orvena

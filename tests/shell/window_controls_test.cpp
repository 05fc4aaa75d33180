// Every control of the main window exists under its classic name, in its container, with a
// Turkish accessible name and the caption and state it starts with.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>

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
    struct Control {
        const char* name;
        const char* parent;
        const char* caption;  // nullptr: none to check
    };
    const Control controls[] = {
        {"Picture2", "arayüz", nullptr},
        {"Label36", "arayüz", nullptr},
        {"Frame3", "arayüz", nullptr},
        {"Frame7", "arayüz", nullptr},
        {"Frame10", "arayüz", "oktav"},
        {"Frame4", "arayüz", "Makam"},
        {"Frame1", "arayüz", "Kaydet / Dinlet"},
        {"Frame5", "arayüz", "Velmora dosyası"},
        {"Frame2", "arayüz", "Ahenkler"},
        {"File1", "arayüz", nullptr},
        {"File2", "arayüz", nullptr},
        {"File3", "arayüz", nullptr},
        {"Picture4", "arayüz", nullptr},
        {"Command1", "arayüz", "X"},
        {"Picture1", "Picture2", nullptr},
        {"Picture3", "Picture2", nullptr},
        {"Picture6", "Picture2", nullptr},
        {"Picture5", "Picture2", nullptr},
        {"Picture10", "Picture2", nullptr},
        {"Frame11", "Picture2", nullptr},
        {"Check1", "Picture2", nullptr},
        {"Option5_1", "Frame11", nullptr},
        {"Option5_2", "Frame11", nullptr},
        {"Check2", "Frame3", "detay  göster"},
        {"Command8", "Frame3", "AKORD RESET"},
        {"Command9", "Frame3", "MANDAL RESET"},
        {"Command10", "Frame3", "Ç  I  K"},
        {"Option4_1", "Frame10", nullptr},
        {"Option4_2", "Frame10", nullptr},
        {"save_buton", "Frame4", nullptr},
        {"open_buton", "Frame4", nullptr},
        {"Text1", "Frame4", nullptr},
        {"Frame9", "Frame1", "arızalar"},
        {"Picture9", "Frame1", nullptr},
        {"Picture8", "Frame1", nullptr},
        {"rec_buton", "Frame1", "R"},
        {"Play_buton", "Frame1", ">"},
        {"pause_buton", "Frame1", "I I"},
        {"stop_buton", "Frame1", "O"},
        {"Option3_1", "Frame9", "çalgı"},
        {"Option3_2", "Frame9", "şartlı"},
        {"Option3_3", "Frame9", "dosya"},
        {"Frame8", "Frame5", "arızalar"},
        {"Picture7", "Frame5", nullptr},
        {"VScroll1", "Frame5", nullptr},
        {"Text2", "Frame5", nullptr},
        {"open_ses_buton", "Frame5", nullptr},
        {"aç_kapa_buton", "Frame5", ">"},
        {"Option2_1", "Frame8", "çalgı"},
        {"Option2_2", "Frame8", "şartlı"},
        {"Option2_3", "Frame8", "dosya"},
        {"Text3", "Frame2", nullptr},
        {"HScroll1", "Frame2", nullptr},
        {"Option1_1", "Frame2", "ŞAH"},
        {"Option1_2", "Frame2", "MANSUR"},
        {"Option1_3", "Frame2", "KIZ NEYİ"},
        {"Option1_4", "Frame2", "MÜSTAHSEN"},
        {"Option1_5", "Frame2", "SÜPÜRDE"},
        {"Option1_6", "Frame2", "BOLAHENK NIS."},
        {"Option1_7", "Frame2", "DAVUD NIS."},
        {"Option1_8", "Frame2", "ŞAH NISFİYE"},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        auto* widget = w().findChild<QWidget*>(QString::fromUtf8(c.name));
        ASSERT_NE(widget, nullptr);
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf8(c.parent));
        EXPECT_FALSE(widget->accessibleName().isEmpty());
        if (c.caption == nullptr) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(b->text(), QString::fromUtf8(c.caption));
        } else {
            EXPECT_EQ(qobject_cast<QGroupBox*>(widget)->title(), QString::fromUtf8(c.caption));
        }
    }
}

TEST_F(WindowControlsTest, StartStatesOfScrollBarsSelectionsAndPictures) {
    EXPECT_EQ(w().VScroll1->minimum(), 30);
    EXPECT_EQ(w().VScroll1->maximum(), 60);
    EXPECT_EQ(w().VScroll1->singleStep(), 2);
    EXPECT_EQ(w().VScroll1->pageStep(), 5);
    EXPECT_EQ(w().HScroll1->minimum(), -8);
    EXPECT_EQ(w().HScroll1->maximum(), 12);
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

// Every control of the main window exists under its classic name, in its container, with a
// Turkish accessible name and the caption and state it starts with.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "shell/arayuz.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"
#include "surface/artwork.h"

namespace orvena {
namespace {

// Colours as a surface's pixel() gives them: 24-bit RGB.
constexpr QRgb rgb(int r, int g, int b) {
    return qRgb(r, g, b) & 0xFFFFFFu;
}

class WindowControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_app();
        window_ = std::make_unique<arayüz>(dialogs);
    }
    test::RecordingDialogs dialogs;
    std::unique_ptr<arayüz> window_;
    arayüz& w() { return *window_; }

    QWidget* find(const char* name) { return w().findChild<QWidget*>(QString::fromUtf8(name)); }
};

TEST_F(WindowControlsTest, EveryControlStandsInItsContainer) {
    const std::vector<std::pair<const char*, std::vector<const char*>>> containment = {
        {"arayüz",
         {"Picture2", "Label36", "Frame3", "Frame7", "Frame10", "Frame4", "Frame1", "Frame5",
          "Frame2", "File1", "File2", "File3", "Picture4", "Command1"}},
        {"Picture2",
         {"Picture1", "Picture3", "Picture6", "Picture5", "Picture10", "Frame11", "Check1"}},
        {"Frame11", {"Option5_1", "Option5_2"}},
        {"Frame3", {"Check2", "Command8", "Command9", "Command10"}},
        {"Frame10", {"Option4_1", "Option4_2"}},
        {"Frame4", {"save_buton", "open_buton", "Text1"}},
        {"Frame1",
         {"Frame9", "Picture9", "Picture8", "rec_buton", "Play_buton", "pause_buton",
          "stop_buton"}},
        {"Frame9", {"Option3_1", "Option3_2", "Option3_3"}},
        {"Frame5", {"Frame8", "Picture7", "VScroll1", "Text2", "open_ses_buton", "aç_kapa_buton"}},
        {"Frame8", {"Option2_1", "Option2_2", "Option2_3"}},
        {"Frame2",
         {"Text3", "HScroll1", "Option1_1", "Option1_2", "Option1_3", "Option1_4", "Option1_5",
          "Option1_6", "Option1_7", "Option1_8"}},
    };
    for (const auto& [container, children] : containment) {
        for (const char* child : children) {
            SCOPED_TRACE(child);
            QWidget* c = find(child);
            ASSERT_NE(c, nullptr);
            ASSERT_NE(c->parentWidget(), nullptr);
            EXPECT_EQ(c->parentWidget()->objectName(), QString::fromUtf8(container));
            EXPECT_FALSE(c->accessibleName().isEmpty());
        }
    }
}

TEST_F(WindowControlsTest, CaptionsAsTheUserReadsThem) {
    auto caption = [&](const char* name) {
        QWidget* c = find(name);
        if (auto* b = qobject_cast<QAbstractButton*>(c)) return b->text();
        if (auto* g = qobject_cast<QGroupBox*>(c)) return g->title();
        return QString("?");
    };
    const std::vector<std::pair<const char*, const char*>> captions = {
        {"Frame10", "oktav"},
        {"Frame4", "Makam"},
        {"Frame1", "Kaydet / Dinlet"},
        {"Frame5", "Velmora dosyası"},
        {"Frame2", "Ahenkler"},
        {"Frame8", "arızalar"},
        {"Frame9", "arızalar"},
        {"Command8", "AKORD RESET"},
        {"Command9", "MANDAL RESET"},
        {"Command10", "Ç  I  K"},
        {"Command1", "X"},
        {"Check2", "detay  göster"},
        {"rec_buton", "R"},
        {"Play_buton", ">"},
        {"pause_buton", "I I"},
        {"stop_buton", "O"},
        {"aç_kapa_buton", ">"},
        {"Option1_1", "ŞAH"},
        {"Option1_2", "MANSUR"},
        {"Option1_3", "KIZ NEYİ"},
        {"Option1_4", "MÜSTAHSEN"},
        {"Option1_5", "SÜPÜRDE"},
        {"Option1_6", "BOLAHENK NIS."},
        {"Option1_7", "DAVUD NIS."},
        {"Option1_8", "ŞAH NISFİYE"},
        {"Option2_1", "çalgı"},
        {"Option2_2", "şartlı"},
        {"Option2_3", "dosya"},
        {"Option3_1", "çalgı"},
        {"Option3_2", "şartlı"},
        {"Option3_3", "dosya"},
    };
    for (const auto& [name, text] : captions) {
        EXPECT_EQ(caption(name), QString::fromUtf8(text)) << name;
    }
}

TEST_F(WindowControlsTest, StartStatesOfScrollBarsAndSelections) {
    EXPECT_EQ(w().VScroll1->minimum(), 30);
    EXPECT_EQ(w().VScroll1->maximum(), 60);
    EXPECT_EQ(w().VScroll1->singleStep(), 2);
    EXPECT_EQ(w().VScroll1->pageStep(), 5);
    EXPECT_EQ(w().VScroll1->Value(), 40);
    EXPECT_EQ(w().HScroll1->minimum(), -8);
    EXPECT_EQ(w().HScroll1->maximum(), 12);
    EXPECT_EQ(w().HScroll1->Value(), 0);
    EXPECT_EQ(w().Text3->text(), QStringLiteral("0"));
    EXPECT_EQ(w().Option1.selected(), 5);
    EXPECT_EQ(w().Option2.selected(), 2);
    EXPECT_EQ(w().Option3.selected(), 1);
    EXPECT_TRUE(w().File1->isHidden());
    EXPECT_TRUE(w().File2->isHidden());
    EXPECT_TRUE(w().File3->isHidden());
    EXPECT_TRUE(w().Picture4->isHidden());
    EXPECT_EQ(w().windowTitle(), QStringLiteral("O R V E N A"));
    // Pictures are the drawing sizes: the drawing code's coordinates are their pixels.
    EXPECT_EQ(w().surface(2).width(), 904);
    EXPECT_EQ(w().surface(10).height(), 396);
    EXPECT_EQ(w().surface(4).width(), 490);
    EXPECT_EQ(w().surface(1).pixel(0, 0), rgb(224, 224, 224));
}

TEST_F(WindowControlsTest, NotationSheetAndTuningPegAreInTheirPictures) {
    const QImage sheet = notation_sheet().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(sheet.size(), QSize(490, 56));
    EXPECT_EQ(w().surface(4).image().convertToFormat(QImage::Format_RGB32), sheet);
    const QImage peg = tuning_peg().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < peg.height(); y += 7) {
        for (int x = 0; x < peg.width(); x += 5) {
            ASSERT_EQ(w().surface(5).pixel(x, y), peg.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
        }
    }
}

TEST_F(WindowControlsTest, AFrameDisabledForPlaybackDisablesItsButtons) {
    w().Frame1->setEnabled(false);
    EXPECT_FALSE(w().rec_buton->isEnabled());
    EXPECT_FALSE(w().Option3.button(2)->isEnabled());
    w().Frame1->setEnabled(true);
    EXPECT_TRUE(w().rec_buton->isEnabled());
}

}  // namespace
}  // namespace orvena

// The sequence-file group of the window: the file list, the name box, the start button and
// what the window shows after a playback, a missing file or a close in mid-melody.

#include <gtest/gtest.h>

#include <QTimer>

#include "shell/arayuz.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

class SequenceWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_app();
        saved_cwd_ = std::filesystem::current_path();
        ASSERT_TRUE(program_.start(folder_.headless_options()).goes_on);
        w_ = program_.window();
        w_->VScroll1->setValue(30);
    }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

    test::ProgramFolder folder_;
    test::RecordingDialogs dialogs_;
    Program program_{dialogs_};
    arayüz* w_ = nullptr;

  private:
    std::filesystem::path saved_cwd_;
};

TEST_F(SequenceWindow, chosenFilePlaysAndTheGroupReturnsToIdle) {
    arayüz& w = *w_;
    // Saved after start-up: the list still finds it. One thirty-second note: 60 ms at 30.
    test::write_file_bytes(folder_.path() / "kisa.ses", "0,3,6,0,0,0,0,0,0,0\r\n");

    w.open_ses_buton->click();
    ASSERT_TRUE(w.File3->Visible());
    ASSERT_EQ(w.File3->names(), std::vector<std::string>{"kisa.ses"});
    w.File3->click_entry(0);
    EXPECT_FALSE(w.File3->Visible());
    EXPECT_EQ(w.Text2->Text(), "kisa");

    w.aç_kapa_buton->click();  // returns when the melody has ended
    EXPECT_EQ(w.st.cur_string, 7);
    EXPECT_EQ(w.aç_kapa_buton->text(), ">");
    EXPECT_TRUE(w.Frame1->isEnabled() && w.Frame2->isEnabled() && w.Frame4->isEnabled());
    EXPECT_EQ(w.surface(7).pixel(10, 10), test::rgb(255, 255, 255));
    EXPECT_TRUE(dialogs_.texts().empty());

    w.Text2->setText_("yok");
    w.aç_kapa_buton->click();
    EXPECT_EQ(dialogs_.texts(),
              std::vector<std::string>{"0\r\nses dosyasından kaynaklanan bir hata oluştu."});
    EXPECT_FALSE(w.st.seq_playing);
}

TEST_F(SequenceWindow, closingTheWindowEndsTheMelodyAfterItsCurrentNote) {
    std::string ten_quarters;  // 480 ms each at speed 30
    for (int i = 0; i < 10; ++i) ten_quarters += "0,3,3,0,0,0,0,0,0,0\r\n";
    test::write_file_bytes(folder_.path() / "uzun.ses", ten_quarters);
    w_->Text2->setText_("uzun");
    QTimer::singleShot(100, w_, [this] { w_->close_for(UnloadReason::AppWindows); });
    w_->aç_kapa_buton->click();
    // The close came during the first note: the second record was the last one counted.
    EXPECT_EQ(w_->surface(7).print_log().back().text, "002");
    EXPECT_FALSE(w_->st.seq_playing);
}

}  // namespace
}  // namespace orvena

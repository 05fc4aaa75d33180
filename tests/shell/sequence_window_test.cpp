// The sequence-file group of the window: the file list, the name box, the start button and
// what the window shows after a playback or a missing file.

#include <gtest/gtest.h>

#include "shell/arayuz.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

TEST(SequenceWindow, chosenFilePlaysAndTheGroupReturnsToIdle) {
    test::ensure_app();
    const std::filesystem::path saved_cwd = std::filesystem::current_path();
    test::ProgramFolder folder;
    test::RecordingDialogs dialogs;
    Program program(dialogs);
    ASSERT_TRUE(program.start(folder.headless_options()).goes_on);
    arayüz& w = *program.window();
    // Saved after start-up: the list still finds it. One thirty-second note: 60 ms at 30.
    test::write_file_bytes(folder.path() / "kisa.ses", "0,3,6,0,0,0,0,0,0,0\r\n");
    w.VScroll1->setValue(30);

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
    EXPECT_TRUE(dialogs.texts().empty());

    w.Text2->setText_("yok");
    w.aç_kapa_buton->click();
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>{"0\r\nses dosyasından kaynaklanan bir hata oluştu."});
    EXPECT_FALSE(w.st.seq_playing);
    std::filesystem::current_path(saved_cwd);
}

}  // namespace
}  // namespace orvena

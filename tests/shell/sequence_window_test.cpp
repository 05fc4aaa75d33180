// The window's sequence-file group: the list fills the name box, the start button plays and
// returns the group to idle, and closing the window ends a melody after its current note.

#include <gtest/gtest.h>

#include <QTimer>

#include "shell/arayuz.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

TEST(SequenceWindow, chosenFilePlaysUntilItEndsOrTheWindowCloses) {
    test::ensure_app();
    const std::filesystem::path saved_cwd = std::filesystem::current_path();
    test::ProgramFolder folder;
    test::RecordingDialogs dialogs;
    Program program(dialogs);
    ASSERT_TRUE(program.start(folder.headless_options()).goes_on);
    arayüz& w = *program.window();
    w.VScroll1->setValue(30);
    // Saved after start-up, the list still finds them: 60 ms, and ten times 480 ms.
    test::write_file_bytes(folder.path() / "kisa.ses", "0,3,6,0,0,0,0,0,0,0\r\n");
    std::string ten_quarters;
    for (int i = 0; i < 10; ++i) ten_quarters += "0,4,3,0,0,0,0,0,0,0\r\n";
    test::write_file_bytes(folder.path() / "uzun.ses", ten_quarters);

    w.open_ses_buton->click();
    ASSERT_EQ(w.File3->names(), (std::vector<std::string>{"kisa.ses", "uzun.ses"}));
    w.File3->click_entry(0);
    EXPECT_FALSE(w.File3->Visible());
    EXPECT_EQ(w.Text2->Text(), "kisa");
    w.aç_kapa_buton->click();  // returns when the melody has ended
    EXPECT_EQ(w.st.cur_string, 7);
    EXPECT_EQ(w.aç_kapa_buton->text(), ">");
    EXPECT_TRUE(w.Frame1->isEnabled() && w.Frame2->isEnabled() && w.Frame4->isEnabled());
    EXPECT_EQ(w.surface(7).pixel(10, 10), test::rgb(255, 255, 255));

    w.Text2->setText_("uzun");
    QTimer::singleShot(100, &w, [&w] { w.close_for(UnloadReason::AppWindows); });
    w.aç_kapa_buton->click();
    // The close came during the first note: the second record was the last one counted.
    EXPECT_EQ(w.surface(7).print_log().back().text, "002");
    EXPECT_FALSE(w.st.seq_playing);
    EXPECT_TRUE(dialogs.texts().empty());
    std::filesystem::current_path(saved_cwd);
}

}  // namespace
}  // namespace orvena

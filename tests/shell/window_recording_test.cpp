// The "Kaydet / Dinlet" group and the sequence-file group on the loaded window, worked with
// mouse and button clicks.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "started_window.h"

namespace orvena {
namespace {

using WindowRecording = test::StartedWindow;

// R locks the groups and lights the lamp; each string clicked on the drawing is written when
// the next pluck or O ends it.
TEST_F(WindowRecording, RecordsStringClicksUntilTheStopButton) {
    const auto click_string = [&](int n) {
        QTest::mouseClick(w_->Picture2, Qt::LeftButton, {}, QPoint(700, 29 + 15 * (n - 1)));
    };
    w_->rec_buton->click();
    EXPECT_FALSE(w_->rec_buton->isEnabled() || w_->Frame2->isEnabled());
    EXPECT_EQ(w_->surface(9).pixel(6, 6), 0xFF0000u);
    click_string(5);
    EXPECT_EQ(test::header_rate(folder_.path() / w_->st.wav_files[5]), 44100) << "open string";
    click_string(9);
    w_->stop_buton->click();
    EXPECT_TRUE(w_->rec_buton->isEnabled() && w_->Frame2->isEnabled());
    EXPECT_EQ(w_->surface(9).pixel(6, 6), 0xFFFFFFu);
    const std::string file = test::read_file_bytes(folder_.path() / kRecordFileName);
    EXPECT_EQ(file.substr(0, 17), " 5             0 ");
    EXPECT_EQ(file.substr(file.find("\r\n") + 2, 3), " 9 ");
}

// The sequence-file group: the list fills the name box, the start button plays and returns the
// group to idle, and closing the window ends a melody after its current note.
TEST_F(WindowRecording, SequenceFilePlaysUntilItEndsOrTheWindowCloses) {
    arayüz& w = *w_;
    const test::ProgramFolder& folder = folder_;
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
    EXPECT_TRUE(dialogs_.texts().empty());
}

}  // namespace
}  // namespace orvena

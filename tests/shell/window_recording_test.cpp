// The mouse, the "Kaydet / Dinlet" group and the sequence-file group on the loaded window, as
// a user works them: Qt mouse clicks and button clicks, checked on the buttons, lamps, sample
// headers, the recording file in the program folder and the melody's counter.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "started_window.h"

namespace orvena {
namespace {

class WindowRecording : public test::StartedWindow {
  protected:
    // R, >, I I, O enabled, and whether the six locked groups are: "1111 1" style.
    std::string controls() const {
        std::string out;
        for (QWidget* b : {w_->rec_buton, w_->Play_buton, w_->pause_buton, w_->stop_buton})
            out += b->isEnabled() ? '1' : '0';
        out += ' ';
        bool frames = true;
        for (QWidget* f : {w_->Frame2, w_->Frame3, w_->Frame4, w_->Frame5, w_->Frame7, w_->Frame10})
            frames = frames && f->isEnabled();
        return out + (frames ? '1' : '0');
    }
    QRgb lamp(int picture) { return w_->surface(picture).pixel(6, 6); }
    void click_string(int n) {
        QTest::mouseClick(w_->Picture2, Qt::LeftButton, {}, QPoint(700, 29 + 15 * (n - 1)));
    }
};

TEST_F(WindowRecording, RecordsStringClicksWithTheButtonsAndLampsOfEachState) {
    EXPECT_EQ(controls(), "1100 1");
    w_->rec_buton->click();
    EXPECT_EQ(controls(), "0001 0");
    EXPECT_EQ(lamp(9), 0xFF0000u);
    click_string(5);
    EXPECT_EQ(test::header_rate(folder_.path() / w_->st.build.wav_files[5]),
              w_->st.derived.sample_rate(5, 0));
    click_string(9);
    w_->stop_buton->click();
    EXPECT_EQ(controls(), "1100 1");
    EXPECT_EQ(lamp(9), 0xFFFFFFu);
    const std::string file = test::read_file_bytes(folder_.path() / kRecordFileName);
    EXPECT_EQ(file.substr(0, 17), " 5             0 ");
    EXPECT_EQ(file.substr(file.find("\r\n") + 2, 3), " 9 ");
}

TEST_F(WindowRecording, ReplayShowsItsStateAndTheWindowRunsWhileItWaits) {
    test::write_file_bytes(folder_.path() / kRecordFileName, "5 0 400\r\n9 0 10\r\n");
    std::string during;
    QTimer::singleShot(0, [&] { during = controls() + (lamp(8) == 0x00FF00u ? " green" : ""); });
    QElapsedTimer clock;
    clock.start();
    qint64 timer_fired_at = -1;
    QTimer::singleShot(60, [&] { timer_fired_at = clock.elapsed(); });
    w_->Play_buton->click();
    EXPECT_GE(clock.elapsed(), 410);
    EXPECT_EQ(during, "0011 0 green");  // at the first record's turn for the window's events
    EXPECT_GE(timer_fired_at, 60);
    EXPECT_LT(timer_fired_at, 400) << "the window's timers ran during the first note's wait";
    EXPECT_EQ(controls(), "1100 1");
    EXPECT_EQ(lamp(8), 0xFFFFFFu);
    EXPECT_TRUE(dialogs_.shown().empty());
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
    EXPECT_EQ(w.st.selection.cur_string, 7);
    EXPECT_EQ(w.aç_kapa_buton->text(), ">");
    EXPECT_TRUE(w.Frame1->isEnabled() && w.Frame2->isEnabled() && w.Frame4->isEnabled());
    EXPECT_EQ(w.surface(7).pixel(10, 10), test::rgb(255, 255, 255));

    w.Text2->setText_("uzun");
    QTimer::singleShot(100, &w, [&w] { w.close_for(UnloadReason::AppWindows); });
    w.aç_kapa_buton->click();
    // The close came during the first note: the second record was the last one counted.
    EXPECT_EQ(w.surface(7).print_log().back().text, "002");
    EXPECT_FALSE(w.st.transport.seq_playing);
    EXPECT_TRUE(dialogs_.texts().empty());
}

}  // namespace
}  // namespace orvena

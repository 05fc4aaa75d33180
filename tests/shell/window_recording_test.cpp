// The mouse and the "Kaydet / Dinlet" group on the loaded window, as a user works them: Qt
// mouse clicks and button clicks, checked on the buttons, lamps, sample headers and the
// recording file in the program folder.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstring>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

std::int32_t header_rate(const std::filesystem::path& wav) {
    const std::string bytes = test::read_file_bytes(wav);
    std::int32_t rate = 0;
    std::memcpy(&rate, bytes.data() + 24, 4);
    return rate;
}

class WindowRecording : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_app();
        saved_cwd_ = std::filesystem::current_path();
        ASSERT_TRUE(program_.start(folder_.headless_options()).goes_on);
        w_ = program_.window();
    }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

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

    test::ProgramFolder folder_;
    test::RecordingDialogs dialogs_;
    Program program_{dialogs_};
    arayüz* w_ = nullptr;

  private:
    std::filesystem::path saved_cwd_;
};

TEST_F(WindowRecording, RecordsStringClicksWithTheButtonsAndLampsOfEachState) {
    EXPECT_EQ(controls(), "1100 1");
    w_->rec_buton->click();
    EXPECT_EQ(controls(), "0001 0");
    EXPECT_EQ(lamp(9), 0xFF0000u);
    click_string(5);
    EXPECT_EQ(header_rate(folder_.path() / w_->st.wav_files[5]), w_->st.sample_rate(5, 0));
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
    EXPECT_LT(timer_fired_at, 300) << "the window's timers ran during the first note's wait";
    EXPECT_EQ(controls(), "1100 1");
    EXPECT_EQ(lamp(8), 0xFFFFFFu);
    EXPECT_TRUE(dialogs_.shown().empty());
}

}  // namespace
}  // namespace orvena

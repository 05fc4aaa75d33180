#pragma once
// A program folder of the test's own (the shipped workbook, some tiny samples, a lock folder
// of its own so no running copy is met), and the program started on it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "shell/program.h"
#include "support/biff_bytes.h"
#include "support/find_control.h"
#include "support/qt_app.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace orvena::test {

// Runs the events until `done` holds, for at most 5 s (a busy machine delays timers).
inline bool wait_for(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 5000);
}

struct ProgramFolder {
    // `samples` files tel01.wav... of 100 silent 16-bit mono frames at 44100 Hz.
    explicit ProgramFolder(int samples = 27, const std::string& workbook_name = "dizek.xls") {
        if (!workbook_name.empty())
            std::filesystem::copy_file(source_dir() / "data" / "dizek.xls", dir / workbook_name);
        const std::string wav = "RIFF" + le32(236) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                                le32(44100) + le32(88200) + le16(2) + le16(16) + "data" +
                                le32(200) + std::string(200, '\0');
        for (int i = 1; i <= samples; ++i)
            write_file_bytes(dir / ((i < 10 ? "tel0" : "tel") + std::to_string(i) + ".wav"), wav);
    }
    const std::filesystem::path& path() const { return dir.path(); }
    // On a 1024 x 768 screen, with no window shown.
    ProgramOptions headless_options() const {
        return {.program_folder = path(),
                .screen_pixels = {1024, 768},
                .show_windows = false,
                .lock_folder = locks.path()};
    }
    TempDir dir, locks;
};

class StartedWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_qt_app();
        ASSERT_TRUE(program_.start(options()).goes_on);
        w_ = program_.window();
    }
    virtual ProgramOptions options() { return folder_.headless_options(); }
    // Plucks string s on the drawing (the strings lie 15 px apart) and sets its lever on the
    // strip (each lever a column 16 px wide from x 151, the lowest first), as the player does.
    void set_lever(int s, int lever) {
        const int lowest = w_->state().build.mandal_min[s];
        QTest::mouseClick(&control<PictureBox>(*w_, "Picture2"), Qt::LeftButton, {},
                          QPoint(700, 29 + 15 * (s - 1)));
        QTest::mouseClick(&control<PictureBox>(*w_, "Picture1"), Qt::LeftButton, {},
                          QPoint(152 + 16 * (lever - lowest), 30));
    }
    // Start-up moves into the program folder; the next test starts where this one did.
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

    std::filesystem::path saved_cwd_ = std::filesystem::current_path();
    ProgramFolder folder_;
    RecordingDialogs dialogs_;
    Program program_{dialogs_};
    arayüz* w_ = nullptr;
};

// The sample rate a WAV file's header holds.
inline std::int32_t header_rate(const std::filesystem::path& wav) {
    const std::string bytes = read_file_bytes(wav);
    std::int32_t rate = 0;
    std::memcpy(&rate, bytes.data() + 24, 4);
    return rate;
}

}  // namespace orvena::test

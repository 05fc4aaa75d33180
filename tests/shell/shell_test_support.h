#pragma once
// A program folder for start-up tests: the shipped workbook and a chosen number of sample
// files in a fresh temporary folder, plus a lock folder of its own so tests never meet a
// running copy of the program.

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>

#include "shell/program.h"
#include "support/biff_bytes.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {

// Runs the window's events until `done` holds, for at most 5 s (a busy machine may delay a
// timer well past its period); whether it holds in the end.
inline bool wait_for(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) QTest::qWait(5);
    return done();
}

// A short valid 16-bit mono WAV file: 100 frames of silence at 44100 Hz.
inline std::string tiny_wav() {
    return "RIFF" + le32(236) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(44100) +
           le32(88200) + le16(2) + le16(16) + "data" + le32(200) + std::string(200, '\0');
}

inline std::string sample_name(int i) {
    return (i < 10 ? "tel0" : "tel") + std::to_string(i) + ".wav";
}

struct ProgramFolder {
    explicit ProgramFolder(int samples = 27, const std::string& workbook_name = "dizek.xls") {
        if (!workbook_name.empty()) {
            std::filesystem::copy_file(source_dir() / "data" / "dizek.xls", dir / workbook_name);
        }
        for (int i = 1; i <= samples; ++i) write_file_bytes(dir / sample_name(i), tiny_wav());
    }
    const std::filesystem::path& path() const { return dir.path(); }
    // Start-up on this folder on a 1024 x 768 screen, with no window shown and a lock
    // folder of its own.
    ProgramOptions headless_options() const {
        ProgramOptions options;
        options.program_folder = path();
        options.screen_pixels = QSize(1024, 768);
        options.show_windows = false;
        options.lock_folder = locks.path();
        return options;
    }
    TempDir dir;
    TempDir locks;
};

}  // namespace orvena::test

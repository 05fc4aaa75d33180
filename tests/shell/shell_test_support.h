#pragma once
// A program folder for start-up tests: the shipped workbook and a chosen number of sample
// files in a fresh temporary folder, plus a lock folder of its own so tests never meet a
// running copy of the program.

#include <QApplication>

#include <filesystem>
#include <string>

#include "shell/program.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {

inline void ensure_app() {
    ensure_qt_app();
}

// A short valid 16-bit mono WAV file.
inline std::string tiny_wav() {
    auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    };
    auto le16 = [](std::uint16_t v) {
        return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    };
    const std::string data(200, '\0');
    return "RIFF" + le32(36 + static_cast<std::uint32_t>(data.size())) + "WAVEfmt " + le32(16) +
           le16(1) + le16(1) + le32(44100) + le32(88200) + le16(2) + le16(16) + "data" +
           le32(static_cast<std::uint32_t>(data.size())) + data;
}

inline std::string sample_name(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "tel%02d.wav", i);
    return name;
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

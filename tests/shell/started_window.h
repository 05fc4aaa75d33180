#pragma once
// The program started on a fresh program folder, its window at hand, for tests of what the
// window wires together.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "shell/program.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena::test {

class StartedWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ensure_qt_app();
        ASSERT_TRUE(program_.start(options()).goes_on);
        w_ = program_.window();
    }
    virtual ProgramOptions options() { return folder_.headless_options(); }
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

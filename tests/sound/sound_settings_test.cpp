// The player's sound choice in the settings file of the program folder.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <tuple>

#include "sound/sound_settings.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {
namespace {

struct SettingsCase {
    const char* name;
    std::string file;  // contents of orvena.ini; "-" for no file, "|" for a FIFO
    std::string api;
    std::string device;
    unsigned block;
    std::string log_has;  // "" for a silent read
    bool chosen = false;  // the block is the player's, not automatic
};

TEST(SoundSettingsFile, BrokenOrUnknownValuesFallBackToTheDefaultWithAMessage) {
    ensure_qt_app();
    // clang-format off
    const SettingsCase cases[] = {
        {"NoFile", "-", "auto", "", 128, ""},
        {"Chosen", "[sound]\napi=alsa\ndevice=hw:1,0\nbuffer_frames=4096\n", "alsa",
         "hw:1,0", 4096, "", true},  // the largest block
        {"Automatic", "[sound]\nbuffer_frames=auto\n", "auto", "", 128, ""},
        {"Silent", "[sound]\napi=none\n", "none", "", 128, ""},
        {"UnknownSystem", "[sound]\napi=coreaudio\nbuffer_frames=64\n", "auto", "", 64,
         "unknown sound system 'coreaudio'", true},
        {"BlockNotANumber", "[sound]\napi=pulse\nbuffer_frames=12x\n", "pulse", "", 128,
         "buffer_frames '12x'"},
        {"BlockTooLarge", "[sound]\nbuffer_frames=1000000\n", "auto", "", 128,
         "buffer_frames '1000000'"},
        {"ControlBytes", "[sound]\napi=a\x1b[2J\n", "auto", "", 128,
         "unknown sound system 'a\\x1B[2J'"},  // shown, not sent to the terminal
        {"Fifo", "|", "auto", "", 128, "cannot be read"},  // read, it would hold the start-up
    };
    // clang-format on
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.file == "|") {
            ASSERT_EQ(::mkfifo((dir / kSettingsFileName).c_str(), 0644), 0);
        } else if (c.file != "-") {
            write_file_bytes(dir / kSettingsFileName, c.file);
        }
        std::ostringstream log;
        const AudioChoice choice = read_sound_settings(dir / kSettingsFileName, log);
        EXPECT_EQ(std::tuple(api_setting_name(choice), choice.device, choice.block_frames,
                             choice.block_chosen),
                  std::tuple(c.api, c.device, c.block, c.chosen));
        EXPECT_EQ(log.str().empty(), c.log_has.empty()) << log.str();
        EXPECT_NE(log.str().find(c.log_has), std::string::npos) << log.str();
    }
}

}  // namespace
}  // namespace orvena::test

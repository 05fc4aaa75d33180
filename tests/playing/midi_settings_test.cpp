// The MIDI port in the settings file: read back safely and found again after a replug.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "playing/midi_settings.h"
#include "sound/sound_settings.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {
namespace {

const std::string kPort = "Keys:Keys MIDI 1 20:0";

// A keyboard plugged in again gets new client numbers; its saved name still finds it.
TEST(MidiSettingsFile, TheSavedPortIsFoundAmongThePortsThere) {
    const std::vector<std::string> found{"Midi Through:Midi Through Port-0 14:0", kPort};
    EXPECT_EQ(find_midi_port(found, kPort), kPort);
    EXPECT_EQ(find_midi_port(found, "Keys:Keys MIDI 1 24:0"), kPort);
    EXPECT_EQ(find_midi_port(found, "Pads:Pads MIDI 1 28:0"), std::nullopt);
    EXPECT_EQ(find_midi_port(found, ""), std::nullopt);
}

TEST(MidiSettingsFile, ABadPortNameIsRefusedWithAMessage) {
    ensure_qt_app();
    TempDir dir;
    std::ostringstream log;
    write_file_bytes(dir / kSettingsFileName,
                     "[sound]\nbuffer_frames=256\n[midi]\nport=K\\x1b[2J\n");
    EXPECT_EQ(read_midi_port(dir / kSettingsFileName, log), "");
    EXPECT_NE(log.str().find("control characters; MIDI input is off"), std::string::npos);
    const std::string port = "Çalgı, Port 1 \"2\" 24:0";
    ASSERT_TRUE(write_midi_port(dir / kSettingsFileName, port));
    EXPECT_EQ(read_midi_port(dir / kSettingsFileName, log), port);
    EXPECT_EQ(read_sound_settings(dir / kSettingsFileName, log).block_frames, 256u);
}

TEST(MidiSettingsFile, AFifoInPlaceOfTheSettingsIsNotRead) {
    ensure_qt_app();
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / kSettingsFileName).c_str(), 0644), 0);
    std::ostringstream log;
    EXPECT_EQ(read_midi_port(dir / kSettingsFileName, log), "");
}

}  // namespace
}  // namespace orvena::test
